#pragma once

#include "support/TestSupport.h"

#include <QRect>
#include <QStringList>
#include <QWidget>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace kivo::test {

// What the X server and the window manager do can lag far behind on a loaded machine: every wait on the
// desktop allows this long before it fails.
inline constexpr std::chrono::seconds desktopDeadline{20};

inline bool waitOnDesktop(const std::function<bool()>& condition) {
    return waitUntil(condition, desktopDeadline);
}

// Runs an X tool with the event loop turning (Kivo's windows must answer the X server meanwhile) and
// gives its output; a run that fails or does not end in time fails the test and gives nothing.
std::optional<QString> runOnDesktop(const QString& program, const QStringList& arguments);

inline bool xdotool(const QStringList& arguments) {
    return runOnDesktop(QStringLiteral("xdotool"), arguments).has_value();
}

// The heads the X server reports through Xinerama: its monitors, whether Qt sees them or not.
std::vector<QRect> xHeads();

// Where the X server has the widget's window, in root window coordinates.
QRect xGeometry(const QWidget& window);

// The windows the X server shows above the widget's window (or the frame a window manager put around it)
// over `area`, each as its id, class and place; empty when nothing there covers it.
QStringList xWindowsAbove(const QWidget& window, const QRect& area);

// Whether the X server shows the widget's window (mapped, and its parents too).
bool xViewable(const QWidget& window);

// The window the window manager names active.
std::optional<unsigned> xActiveWindow();

} // namespace kivo::test
