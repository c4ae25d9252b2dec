#include "platform/linux/LinuxBrowserPlatform.h"

#include "platform/linux/LinuxAccessibilityTree.h"
#include "platform/linux/LinuxAutomationConsent.h"
#include "platform/linux/LinuxBrowserRoutes.h"
#include "platform/linux/InputMethodRecord.h"
#include "platform/linux/LinuxBusBrowsers.h"
#include "platform/linux/LinuxInputMethod.h"
#include "platform/linux/LinuxKeystrokeSink.h"
#include "platform/linux/LinuxScriptHost.h"
#include "platform/linux/LinuxSettingsOpener.h"
#include "platform/linux/LinuxWorkspace.h"

namespace kivo {

std::unique_ptr<LinuxBrowserPlatform> LinuxBrowserPlatform::create() {
    return std::unique_ptr<LinuxBrowserPlatform>(new LinuxBrowserPlatform());
}

// Each part talks to the X server on a connection of its own: the workspace reads events on the main
// thread, the tree and the keystrokes wait on replies from worker threads.
LinuxBrowserPlatform::LinuxBrowserPlatform()
    : workspace_(std::make_unique<LinuxWorkspace>(XcbDesktop::connect())),
      scriptHost_(std::make_unique<LinuxScriptHost>()), consent_(std::make_unique<LinuxAutomationConsent>()),
      tree_(std::make_unique<LinuxAccessibilityTree>(XcbDesktop::connect())),
      keystrokes_(std::make_unique<LinuxKeystrokeSink>(XcbDesktop::connect())),
      inputMethod_(LinuxInputMethod::create(InputMethodRecord::standardPath())),
      routes_(std::make_unique<LinuxBrowserRoutes>(*workspace_)),
      settings_(std::make_unique<LinuxSettingsOpener>(
          LinuxSettingsOpener::Launcher{}, [tree = tree_.get()] { return tree->enableAccessibilityBus(); })),
      busBrowsers_(
          std::make_unique<LinuxBusBrowsers>([tree = tree_.get()] { return tree->applicationProcesses(); },
                                             LinuxBusBrowsers::isWaylandSession())) {
    // A Kivo that stopped while it typed may have left the user's input method switched.
    inputMethod_->recoverLeftover();
}

LinuxBrowserPlatform::~LinuxBrowserPlatform() = default;

BrowserMonitor::Ports LinuxBrowserPlatform::ports() {
    return BrowserMonitor::Ports{*workspace_,  *scriptHost_,  *consent_,          *tree_,
                                 *keystrokes_, routes_.get(), busBrowsers_.get(), inputMethod_.get()};
}

SettingsOpener& LinuxBrowserPlatform::settingsOpener() {
    return *settings_;
}

} // namespace kivo
