#pragma once

#include "browser-monitor/BrowserEngine.h"
#include "browser-monitor/BrowserURLAccess.h"

#include <optional>
#include <string>

namespace kivo {

// One row of the supported-browser table.
struct BrowserDescriptor {
    std::string bundleId;
    std::string displayName;
    BrowserEngine engine = BrowserEngine::safari;
    BrowserURLAccess access = BrowserURLAccess::appleScript;

    // The table's row for this identifier, or none.
    static std::optional<BrowserDescriptor> fromBundleId(const std::string& bundleId);

    friend bool operator==(const BrowserDescriptor&, const BrowserDescriptor&) = default;
};

} // namespace kivo
