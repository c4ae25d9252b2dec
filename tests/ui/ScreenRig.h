#pragma once

#include "app/brightness/BrightnessController.h"
#include "app/brightness/BrightnessTriggerStore.h"
#include "app/brightness/FakeBrightnessBackend.h"
#include "app/language/LanguageController.h"
#include "app/more/LoginItemService.h"
#include "app/rules/BlockRuleStore.h"
#include "app/sheets/EraseAllDataFlow.h"
#include "app/sheets/QuitConfirmationFlow.h"
#include "app/sheets/UninstallFlow.h"
#include "app/shield/ShieldOverlayController.h"
#include "core/ManualClock.h"
#include "platform/simulated/SimulatedLoginItem.h"
#include "platform/simulated/SimulatedShieldWindowSystem.h"
#include "platform/simulated/SimulatedSystemEvents.h"
#include "platform/simulated/SimulatedUpdateDriver.h"
#include "settings/MemoryDefaultsStore.h"
#include "support/TestSupport.h"
#include "ui/screens/ScreenContext.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <memory>
#include <vector>

namespace kivo::test {

// Everything the screens are built from, in memory, with counters for every kind of write.
struct ScreenRig {
    ManualClock clock;
    MemoryDefaultsStore defaults;
    BlockRuleStore rules{defaults, "Blocklist", clock};
    SimulatedShieldWindowSystem shieldWindows;
    ShieldOverlayController shield{shieldWindows, clock, clock};
    std::shared_ptr<FakeBrightnessBackend> backend = std::make_shared<FakeBrightnessBackend>();
    SimulatedSystemEvents events;
    BrightnessTriggerStore triggers{defaults, "Sunrise", "Sunset"};
    BrightnessController brightness{backend, clock, clock, events, events};
    SimulatedLoginItem loginPort;
    LoginItemService loginItem{loginPort};
    LanguageController language{LanguagePreferenceStore(defaults), QStringList{QStringLiteral("en")}};
    Localizer localizer;
    QuitConfirmationFlow quitFlow{clock};
    EraseAllDataFlow eraseFlow{clock};
    UninstallFlow uninstallFlow;
    SimulatedUpdateDriver updater;
    std::vector<QUrl> opened;
    std::vector<std::string> denied;
    ScreenContext context{rules, shield, triggers, brightness, loginItem, language, localizer};
    QWidget window;

    ScreenRig() {
        backend->setDisplays({{1, true, "Built-in"}, {2, false, "Studio"}});
        clock.setLocal(2026, 1, 5, 9, 0);
        brightness.start(&triggers);
        EXPECT_TRUE(waitUntil([&] { return !brightness.isApplying(); }));
        backend->clear();
        context.deniedBrowserNames = [this] { return denied; };
        context.quitFlow = &quitFlow;
        context.eraseFlow = &eraseFlow;
        context.uninstallFlow = &uninstallFlow;
        context.updater = &updater;
        context.openURL = [this](const QUrl& url) { opened.push_back(url); };
        window.resize(660, 460);
        window.show();
    }

    // Every write a screen could make: the defaults database, the login item, a preview.
    int writes() const {
        return defaults.writeCount() + loginPort.registerCalls() + loginPort.unregisterCalls() +
               (brightness.isPreviewing() ? 1 : 0) + static_cast<int>(backend->sets().size());
    }
};

inline void pressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

} // namespace kivo::test
