#pragma once

#include "support/TestSupport.h"

#include <QStringList>

#include <chrono>
#include <functional>

namespace kivo::test {

// What the X server and the window manager do can lag far behind on a loaded machine: every wait on the
// desktop allows this long before it fails.
inline constexpr std::chrono::seconds desktopDeadline{20};

inline bool waitOnDesktop(const std::function<bool()>& condition) {
    return waitUntil(condition, desktopDeadline);
}

// Runs xdotool with the event loop turning (Kivo's windows must answer the X server meanwhile); a run
// that fails or does not end in time fails the test and returns false.
bool xdotool(const QStringList& arguments);

} // namespace kivo::test
