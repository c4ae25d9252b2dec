#include "Scene.h"
#include "ScreenScenes.h"

#include "app/rules/BlockRuleStore.h"
#include "app/sheets/EraseAllDataFlow.h"
#include "app/shell/AppDelegate.h"
#include "app/shield/ShieldOverlayController.h"
#include "browser-monitor/AccessibilityPermissionFlow.h"
#include "core/ManualClock.h"
#include "ui/sheets/SheetPresenter.h"
#include "ui/shell/DesktopShell.h"
#include "ui/shell/MainContent.h"
#include "ui/shell/MainWindow.h"
#include "ui/shield/QtShieldWindowSystem.h"
#include "ui/shield/ShieldVeil.h"

#include <chrono>

namespace kivo {

namespace {

QWidget* section(DesktopShell& shell, SidebarItem item) {
    shell.mainWindow().mainContent()->select(item);
    return &shell.mainWindow();
}

QWidget* shield(DesktopShell& shell, ManualClock& clock, bool primary) {
    auto& d = shell.delegate();
    auto group = d.store().groups().front();
    group.unlockPolicy = UnlockPolicy::waitToUnlock(30);
    d.store().replaceGroup(group.id, group);
    d.overlayController().present(group, d.store(), [](BlockRuleStore&) {});
    clock.advance(std::chrono::seconds(12));
    for (ShieldVeil* veil : shell.shieldWindows().veils()) {
        if (veil->isPrimary() == primary)
            return veil;
    }
    return nullptr;
}

} // namespace

std::vector<Scene> allScenes() {
    using std::chrono::seconds;
    std::vector<Scene> scenes{
        {"onboarding", false, false, [](DesktopShell& s, ManualClock&) { return &s.mainWindow(); }},
        {"main-rules", true, false,
         [](DesktopShell& s, ManualClock&) { return section(s, SidebarItem::rules); }},
        {"main-display", true, false,
         [](DesktopShell& s, ManualClock&) { return section(s, SidebarItem::display); }},
        {"main-more", true, false,
         [](DesktopShell& s, ManualClock&) { return section(s, SidebarItem::more); }},
        {"sheet-quit-counting", true, false,
         [](DesktopShell& s, ManualClock& clock) -> QWidget* {
             s.delegate().beginQuit(QuitSource::settings);
             clock.advance(seconds(3));
             return s.mainWindow().sheets().quitSheet();
         }},
        {"sheet-quit-ready", true, false,
         [](DesktopShell& s, ManualClock& clock) -> QWidget* {
             s.delegate().requestQuit();
             clock.advance(seconds(10));
             return s.mainWindow().sheets().quitSheet();
         }},
        {"sheet-quit-during-onboarding", false, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             s.delegate().requestQuit();
             return s.mainWindow().sheets().quitSheet();
         }},
        {"sheet-erase-warning", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             s.delegate().beginEraseAllData();
             return s.mainWindow().sheets().eraseSheet();
         }},
        {"sheet-erase-counting", true, false,
         [](DesktopShell& s, ManualClock& clock) -> QWidget* {
             s.delegate().beginEraseAllData();
             s.delegate().eraseAllDataFlow().continueToCountdown();
             clock.advance(seconds(6));
             return s.mainWindow().sheets().eraseSheet();
         }},
        {"sheet-erase-ready", true, false,
         [](DesktopShell& s, ManualClock& clock) -> QWidget* {
             s.delegate().beginEraseAllData();
             s.delegate().eraseAllDataFlow().continueToCountdown();
             clock.advance(seconds(10));
             return s.mainWindow().sheets().eraseSheet();
         }},
        {"sheet-uninstall", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             s.delegate().beginUninstall();
             return s.mainWindow().sheets().uninstallSheet();
         }},
        {"sheet-uninstall-package", true, true,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             s.delegate().beginUninstall();
             return s.mainWindow().sheets().uninstallSheet();
         }},
        {"sheet-accessibility-firefox", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             s.delegate().accessibilityFlow().requestPrompt("org.mozilla.firefox", "Firefox");
             return s.mainWindow().sheets().accessibilitySheet();
         }},
        {"sheet-accessibility-chromium", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             s.delegate().accessibilityFlow().requestPrompt("com.google.Chrome", "Chromium");
             return s.mainWindow().sheets().accessibilitySheet();
         }},
        {"shield-primary", true, false,
         [](DesktopShell& s, ManualClock& clock) { return shield(s, clock, true); }},
    };
    for (auto& scene : screenScenes())
        scenes.push_back(std::move(scene));
    return scenes;
}

} // namespace kivo
