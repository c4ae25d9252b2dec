#pragma once

#include "browser-monitor/BrowserDescriptor.h"
#include "browser-monitor/BrowserURLAccess.h"

#include <string>

namespace kivo {

// What the desktop makes of a row of the supported-browser table: the route that reaches its tabs
// (a desktop without a scripting interface reaches every browser through its accessibility tree) and
// the name the user knows it by there. Main thread only; answers from memory.
class BrowserRoutes {
public:
    virtual ~BrowserRoutes() = default;
    virtual BrowserURLAccess access(const BrowserDescriptor& row) = 0;
    virtual std::string displayName(const BrowserDescriptor& row) = 0;
};

} // namespace kivo
