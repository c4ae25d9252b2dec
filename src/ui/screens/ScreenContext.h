#pragma once

#include "app/language/LanguageController.h"
#include "app/language/LocalizedString.h"
#include "app/language/Localizer.h"
#include "app/more/LinkAddresses.h"
#include "ui/components/CheckableButtonActions.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kivo {

class BlockRuleStore;
class BrowserMonitor;
class BrightnessController;
class BrightnessTriggerStore;
class EraseAllDataFlow;
class LoginItemService;
class QuitConfirmationFlow;
class ShieldOverlayController;
class UninstallFlow;
class UpdateDriver;

// What the main window's screens are built from: references to the long-lived objects the application
// owns. A screen never owns any of them.
struct ScreenContext {
    ScreenContext(BlockRuleStore& rules, ShieldOverlayController& shield, BrightnessTriggerStore& triggers,
                  BrightnessController& brightness, LoginItemService& loginItem, LanguageController& language,
                  const Localizer& localizer)
        : rules(rules), shield(shield), triggers(triggers), brightness(brightness), loginItem(loginItem),
          language(language), localizer(localizer) {
        // Every screen is built from a context: its checkable buttons answer assistive tools as a click.
        CheckableButtonActions::install();
    }

    BlockRuleStore& rules;
    ShieldOverlayController& shield;
    BrightnessTriggerStore& triggers;
    BrightnessController& brightness;
    LoginItemService& loginItem;
    LanguageController& language;
    const Localizer& localizer;
    // Browsers whose Automation permission was refused (the banner above the rule lists); may be empty.
    std::function<std::vector<std::string>()> deniedBrowserNames;
    // Browsers that run where Kivo cannot see them (natively on Wayland; the notice beside the banner); may
    // be empty.
    std::function<std::vector<std::string>()> unseenBrowserNames;
    // Keeps the unseen browsers fresh while the returned token lives (the rule screens are shown); absent:
    // nothing is watched.
    std::function<std::shared_ptr<void>()> watchUnseenBrowsers;
    // Announces permission changes and unseen browsers so the notices follow them; absent in tests.
    BrowserMonitor* monitor = nullptr;
    // The banner's button; absent: the button does nothing.
    std::function<void()> openAutomationSettings;
    // The application's flows and the actions they confirm; absent outside the running application.
    QuitConfirmationFlow* quitFlow = nullptr;
    EraseAllDataFlow* eraseFlow = nullptr;
    UninstallFlow* uninstallFlow = nullptr;
    UpdateDriver* updater = nullptr;
    std::function<void()> showMainWindow;
    std::function<void()> quitAction;
    std::function<void()> eraseAllDataAction;
    std::function<void()> uninstallAction;
    // Opens a web page in the desktop's browser (the More page's links).
    std::function<void(const QUrl&)> openURL;
    // Where the links lead (the More page, the trigger sheet's credit); empty: none was built in.
    LinkAddresses links;

    // A catalog text in the interface language.
    QString text(const LocalizedString& s) const { return localizer.text(s, language.current()); }
};

} // namespace kivo
