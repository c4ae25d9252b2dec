#pragma once

#include "browser-monitor/BrowserMonitor.h"
#include "browser-monitor/ports/SettingsOpener.h"

#include <memory>

namespace kivo {

// The browser side of a Linux desktop: the frontmost application, browser scripting, the accessibility
// tree, keystrokes and the settings opener, as the browser monitor's ports.
class LinuxBrowserPlatform {
public:
    static std::unique_ptr<LinuxBrowserPlatform> create();
    ~LinuxBrowserPlatform();
    BrowserMonitor::Ports ports();
    SettingsOpener& settingsOpener();
};

} // namespace kivo
