#pragma once

#include "browser-monitor/BrowserMonitor.h"
#include "browser-monitor/ports/SettingsOpener.h"

#include <memory>

namespace kivo {

class LinuxAccessibilityTree;
class LinuxAutomationConsent;
class LinuxBrowserRoutes;
class LinuxBusBrowsers;
class LinuxInputMethod;
class LinuxKeystrokeSink;
class LinuxScriptHost;
class LinuxSettingsOpener;
class LinuxWorkspace;

// Every browser port of this desktop, made once for the application. Made and used on the main thread.
class LinuxBrowserPlatform {
public:
    static std::unique_ptr<LinuxBrowserPlatform>
    create(); // never null; works (reporting no browsers) without X
    ~LinuxBrowserPlatform();
    BrowserMonitor::Ports ports();
    SettingsOpener& settingsOpener();

    LinuxWorkspace& workspace() { return *workspace_; }
    LinuxAccessibilityTree& tree() { return *tree_; }
    LinuxKeystrokeSink& keystrokes() { return *keystrokes_; }
    LinuxInputMethod& inputMethod() { return *inputMethod_; }

private:
    LinuxBrowserPlatform();

    std::unique_ptr<LinuxWorkspace> workspace_;
    std::unique_ptr<LinuxScriptHost> scriptHost_;
    std::unique_ptr<LinuxAutomationConsent> consent_;
    std::unique_ptr<LinuxAccessibilityTree> tree_;
    std::unique_ptr<LinuxKeystrokeSink> keystrokes_;
    std::unique_ptr<LinuxInputMethod> inputMethod_;
    std::unique_ptr<LinuxBrowserRoutes> routes_;
    std::unique_ptr<LinuxSettingsOpener> settings_;
    std::unique_ptr<LinuxBusBrowsers> busBrowsers_;
};

} // namespace kivo
