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

} // namespace kivo::test
