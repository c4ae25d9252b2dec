#pragma once

#include <string>

namespace kivo {

// One running instance of an application, as the workspace reports it.
struct RunningApplication {
    std::string bundleId; // the application's identifier (a desktop-file id or window class on Linux)
    int processId = 0;
    bool isActive = false; // it is the frontmost application

    friend bool operator==(const RunningApplication&, const RunningApplication&) = default;
};

} // namespace kivo
