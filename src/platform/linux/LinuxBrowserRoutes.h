#pragma once

#include "browser-monitor/ports/BrowserRoutes.h"
#include "platform/linux/LinuxWorkspace.h"

namespace kivo {

// Linux has no scripting route: every supported browser is reached through its accessibility tree,
// and named as its running build calls itself (the Chrome row run as Chromium is "Chromium").
class LinuxBrowserRoutes final : public BrowserRoutes {
public:
    explicit LinuxBrowserRoutes(LinuxWorkspace& workspace) : workspace_(workspace) {}

    BrowserURLAccess access(const BrowserDescriptor&) override { return BrowserURLAccess::accessibility; }
    std::string displayName(const BrowserDescriptor& row) override {
        return workspace_.runningDisplayName(row.bundleId)
            .value_or(row.bundleId == "com.google.Chrome" ? "Chromium" : row.displayName);
    }

private:
    LinuxWorkspace& workspace_;
};

} // namespace kivo
