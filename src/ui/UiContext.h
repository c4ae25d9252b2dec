#pragma once

#include "app/language/LanguageController.h"
#include "app/language/LocalizedString.h"
#include "app/language/Localizer.h"

#include <QString>

namespace kivo {

class AccessibilityPermissionFlow;
class AppDelegate;
class BlockRuleStore;
class BrightnessController;
class BrightnessTriggerStore;
class BrowserMonitor;
class EraseAllDataFlow;
class LoginItemService;
class QuitConfirmationFlow;
class ShieldOverlayController;
class UninstallFlow;

// What a screen of the main window is given: the shared objects it reads and drives. Screens never own
// any of them; the application delegate does, for the life of the process.
struct UiContext {
    BlockRuleStore& store;
    ShieldOverlayController& overlayController;
    BrightnessTriggerStore& brightnessTriggerStore;
    BrightnessController& brightnessController;
    BrowserMonitor& browserMonitor;
    LoginItemService& loginItemService;
    LanguageController& languageController;
    const Localizer& localizer;
    // The quit, erase and uninstall actions, showMainWindow, the updater and the seed names.
    AppDelegate& delegate;
    QuitConfirmationFlow& quitFlow;
    EraseAllDataFlow& eraseFlow;
    UninstallFlow& uninstallFlow;
    AccessibilityPermissionFlow& accessibilityFlow;

    // A catalog text in the interface language the window is built in.
    QString text(const LocalizedString& s) const { return localizer.text(s, languageController.current()); }
};

} // namespace kivo
