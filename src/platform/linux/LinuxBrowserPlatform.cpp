#include "platform/linux/LinuxBrowserPlatform.h"

#include "browser-monitor/ports/AccessibilityTree.h"
#include "browser-monitor/ports/AutomationConsent.h"
#include "browser-monitor/ports/KeystrokeSink.h"
#include "browser-monitor/ports/ScriptHost.h"
#include "browser-monitor/ports/Workspace.h"

// Until the desktop's browser back ends are wired, Kivo sees no browser in front and none running: the
// monitor follows nothing and never touches a tab.

namespace kivo {

namespace {

class NoWorkspace final : public Workspace {
public:
    std::string frontmostBundleId() override { return {}; }
    std::vector<RunningApplication> runningApplications(const std::string&) override { return {}; }
    bool activate(int) override { return false; }
    ObserverToken addActivationObserver(ApplicationHandler) override { return 0; }
    ObserverToken addLaunchObserver(ApplicationHandler) override { return 0; }
    void removeObserver(ObserverToken) override {}
};

class NoScriptHost final : public ScriptHost {
public:
    CompileResult compile(const std::string&) override {
        return {nullptr, "browser scripting is not available"};
    }
};

class NoConsent final : public AutomationConsent {
public:
    int permissionToAutomate(const std::string&) override { return kNotPermitted; }
};

class NoAccessibilityTree final : public AccessibilityTree {
public:
    bool isTrusted() override { return false; }
    AccessibilityElement applicationElement(int) override { return {}; }
    std::optional<std::string> role(const AccessibilityElement&) override { return std::nullopt; }
    std::optional<std::string> url(const AccessibilityElement&) override { return std::nullopt; }
    std::optional<std::vector<AccessibilityElement>> children(const AccessibilityElement&) override {
        return std::nullopt;
    }
    std::optional<AccessibilityElement> focusedWindow(const AccessibilityElement&) override {
        return std::nullopt;
    }
    bool setBooleanAttribute(const AccessibilityElement&, const std::string&, bool) override { return false; }
};

class NoKeystrokes final : public KeystrokeSink {
public:
    std::optional<int> keyboardFocusProcess() override { return std::nullopt; }
    bool focusAddressField() override { return false; }
    bool selectAll() override { return false; }
    bool typeText(const std::string&) override { return false; }
    bool pressReturn() override { return false; }
};

class NoSettingsOpener final : public SettingsOpener {
public:
    bool openAccessibilitySettings() override { return false; }
};

// The stand-ins hold no state, so every instance can share them.
NoWorkspace workspace;
NoScriptHost scripts;
NoConsent consent;
NoAccessibilityTree tree;
NoKeystrokes keystrokes;
NoSettingsOpener settings;

} // namespace

LinuxBrowserPlatform::~LinuxBrowserPlatform() = default;

std::unique_ptr<LinuxBrowserPlatform> LinuxBrowserPlatform::create() {
    return std::make_unique<LinuxBrowserPlatform>();
}

BrowserMonitor::Ports LinuxBrowserPlatform::ports() {
    return {workspace, scripts, consent, tree, keystrokes};
}

SettingsOpener& LinuxBrowserPlatform::settingsOpener() {
    return settings;
}

} // namespace kivo
