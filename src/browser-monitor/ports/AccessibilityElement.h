#pragma once

#include <string>

namespace kivo {

// A handle on one node of an application's accessibility tree, opaque to everything but the back end
// that made it (a bus name and object path, say).
struct AccessibilityElement {
    std::string owner;
    std::string path;

    friend bool operator==(const AccessibilityElement&, const AccessibilityElement&) = default;
};

} // namespace kivo
