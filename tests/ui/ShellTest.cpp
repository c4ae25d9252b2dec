#include "app/language/LanguageController.h"
#include "app/language/LocalizedStrings.h"
#include "app/onboarding/OnboardingController.h"
#include "app/rules/BlockRuleStore.h"
#include "app/sheets/EraseAllDataFlow.h"
#include "app/sheets/QuitConfirmationFlow.h"
#include "app/sheets/UninstallFlow.h"
#include "app/shell/AppDelegate.h"
#include "app/shield/ShieldOverlayController.h"
#include "browser-monitor/AccessibilityPermissionFlow.h"
#include "support/TestSupport.h"
#include "ui/ShellRig.h"
#include "ui/components/AutomationPermissionBanner.h"
#include "ui/onboarding/LanguageOnboardingPage.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/rules/RulesPage.h"
#include "ui/screens/ScreenPages.h"
#include "ui/sheets/SheetPresenter.h"
#include "ui/shell/MainContent.h"
#include "ui/shell/MainWindow.h"
#include "ui/shield/QtShieldWindowSystem.h"
#include "ui/shield/ShieldVeil.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::ShellRig;

TEST(Sheets, EveryWayOfClosingASheetEndsItsFlow) {
    struct Case {
        const char* name;
        std::function<void(QDialog*, ShellRig&)> close;
    };
    const Case cases[] = {
        {"escape", [](QDialog* d, ShellRig&) { QTest::keyClick(d, Qt::Key_Escape); }},
        {"close box", [](QDialog* d, ShellRig&) { d->close(); }},
        {"window hidden", [](QDialog*, ShellRig& rig) { rig.shell->mainWindow().hide(); }},
        {"plain quit",
         [](QDialog*, ShellRig& rig) { rig.shell->requestTermination(TerminationReason::userInitiated); }},
    };
    for (const auto& c : cases) {
        ShellRig rig;
        rig.shell->launch();
        auto& d = rig.shell->delegate();
        d.beginQuit(QuitSource::settings);
        d.beginEraseAllData();
        ASSERT_NE(rig.shell->mainWindow().sheets().quitSheet(), nullptr) << c.name;
        ASSERT_NE(rig.shell->mainWindow().sheets().eraseSheet(), nullptr) << c.name;
        c.close(rig.shell->mainWindow().sheets().eraseSheet(), rig);
        if (std::string(c.name) == "escape" || std::string(c.name) == "close box")
            c.close(rig.shell->mainWindow().sheets().quitSheet(), rig);
        test::processEvents();
        EXPECT_FALSE(d.quitConfirmationFlow().state().isCounting()) << c.name;
        EXPECT_FALSE(d.quitConfirmationFlow().isTicking()) << c.name;
        EXPECT_TRUE(d.eraseAllDataFlow().stage().isInactive()) << c.name;
    }
}

TEST(Sheets, AFlowThatEndsItselfClosesItsSheetWithoutCancelling) {
    ShellRig rig;
    rig.shell->launch();
    auto& d = rig.shell->delegate();
    d.beginUninstall();
    ASSERT_NE(rig.shell->mainWindow().sheets().uninstallSheet(), nullptr);
    d.uninstallFlow().confirm();
    test::processEvents();
    EXPECT_EQ(rig.shell->mainWindow().sheets().uninstallSheet(), nullptr);
    EXPECT_EQ(rig.ports.trash.requests().size(), 1) << "the uninstall ran, once";
}

TEST(Sheets, ShowDuringOnboardingAndSurviveALanguageChange) {
    ShellRig rig(nlohmann::json::object());
    rig.shell->launch();
    auto& window = rig.shell->mainWindow();
    ASSERT_EQ(window.mainContent(), nullptr) << "onboarding first";
    rig.shell->delegate().requestQuit(); // the tray's Quit
    ASSERT_NE(window.sheets().quitSheet(), nullptr);
    EXPECT_TRUE(window.sheets().quitSheet()->isVisible());
    rig.shell->delegate().languageController().setLanguage(LanguagePreference::japanese());
    test::processEvents();
    EXPECT_TRUE(rig.shell->delegate().quitConfirmationFlow().state().isCounting());
    EXPECT_NE(window.sheets().quitSheet(), nullptr);
}

TEST(Sheets, AnAccessibilityPromptBringsAHiddenWindowUp) {
    ShellRig rig;
    rig.ports.world.setTrusted(false);
    rig.shell->launch(false);
    auto& window = rig.shell->mainWindow();
    ASSERT_FALSE(window.isVisible());
    rig.shell->delegate().accessibilityFlow().requestPrompt("org.example.browser", "Example <b>Browser</b>");
    test::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.testAttribute(Qt::WA_ShowWithoutActivating) == false) << "the attribute is put back";
    auto* sheet = window.sheets().accessibilitySheet();
    ASSERT_NE(sheet, nullptr);
    bool sawName = false;
    for (auto* label : sheet->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue; // an icon
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        sawName = sawName || label->text().contains("<b>Browser</b>");
    }
    EXPECT_TRUE(sawName) << "the browser's name is shown as typed";
}

TEST(Sheets, OnlyAChromiumFamilyPromptAsksForARestart) {
    const struct {
        const char* bundleId;
        bool asksForRestart;
    } cases[] = {{"com.google.Chrome", true}, {"com.brave.Browser", true}, {"org.mozilla.firefox", false}};
    for (const auto& c : cases) {
        ShellRig rig;
        rig.ports.world.setTrusted(false);
        rig.shell->launch();
        rig.shell->delegate().accessibilityFlow().requestPrompt(c.bundleId, "Browser");
        test::processEvents();
        auto* sheet = rig.shell->mainWindow().sheets().accessibilitySheet();
        ASSERT_NE(sheet, nullptr) << c.bundleId;
        bool sawRestart = false;
        for (auto* label : sheet->findChildren<QLabel*>())
            sawRestart = sawRestart || label->text().contains("--force-renderer-accessibility");
        EXPECT_EQ(sawRestart, c.asksForRestart) << c.bundleId;
    }
}

TEST(MainWindow, LanguageChangeRebuildsTheContentOnALaterTurn) {
    ShellRig rig;
    rig.shell->launch();
    auto& window = rig.shell->mainWindow();
    window.mainContent()->select(SidebarItem::more);
    QPointer<QWidget> before = window.content();
    rig.shell->delegate().languageController().setLanguage(LanguagePreference::korean());
    EXPECT_EQ(window.content(), before.data()) << "not inside the change handler";
    test::processEvents();
    ASSERT_NE(window.mainContent(), nullptr);
    EXPECT_NE(window.content(), before.data());
    EXPECT_EQ(window.mainContent()->selectedItem(), SidebarItem::rules) << "view state starts over";
    EXPECT_EQ(window.mainContent()->sidebar()->item(0)->text(),
              rig.shell->localizer().text(Strings::Sidebar::rules(), LanguagePreference::korean()));
}

TEST(MainWindow, ReturnOnTheLanguagePageCompletesOnboarding) {
    ShellRig rig(nlohmann::json::object());
    rig.shell->launch();
    auto& window = rig.shell->mainWindow();
    QApplication::setActiveWindow(&window);
    auto* page = qobject_cast<LanguageOnboardingPage*>(window.content());
    ASSERT_NE(page, nullptr);
    page->picker()->setFocus();
    QTest::keyClick(page->picker(), Qt::Key_Return);
    EXPECT_TRUE(rig.shell->delegate().onboardingController().isCompleted());
    EXPECT_EQ(rig.defaults.value("kivo.onboardingCompletedVersion"), nlohmann::json(1));
    EXPECT_TRUE(test::waitUntil([&] { return window.mainContent() != nullptr; }));
}

TEST(MainWindow, ErasingAllDataReturnsToOnboarding) {
    ShellRig rig;
    rig.shell->launch();
    rig.shell->delegate().eraseAllData();
    test::processEvents();
    EXPECT_EQ(rig.shell->mainWindow().mainContent(), nullptr);
    EXPECT_EQ(rig.shell->mainWindow().content()->objectName(), "onboarding");
}

TEST(Shield, ARefusedQuitKeepsTheVeilsAndAVeilHiddenFromOutsideComesBack) {
    ShellRig rig;
    rig.shell->launch();
    auto& d = rig.shell->delegate();
    auto group = d.store().groups().front();
    group.unlockPolicy = UnlockPolicy::waitToUnlock(30);
    d.store().replaceGroup(group.id, group);
    bool unlocked = false;
    d.overlayController().present(group, d.store(), [&](BlockRuleStore&) { unlocked = true; });
    auto veils = rig.shell->shieldWindows().veils();
    ASSERT_FALSE(veils.empty());

    EXPECT_FALSE(rig.shell->requestTermination(TerminationReason::userInitiated));
    test::processEvents();
    // Without a tray (as here) the window is minimised rather than hidden, so it can still be reached.
    EXPECT_TRUE(rig.shell->mainWindow().isMinimized());
    for (auto* veil : rig.shell->shieldWindows().veils())
        EXPECT_TRUE(veil->isVisible()) << "the shield stays up";

    QPointer<ShieldVeil> first = rig.shell->shieldWindows().veils().front();
    first->hide(); // as a window manager or a tool would
    EXPECT_TRUE(test::waitUntil([&] { return first && first->isVisible(); }));
    first->close();
    EXPECT_TRUE(first->isVisible()) << "close requests are refused";

    QTest::keyClick(first.data(), Qt::Key_Escape);
    EXPECT_FALSE(d.overlayController().isShown());
    EXPECT_TRUE(first) << "never deleted inside its own key handler";
    test::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    EXPECT_FALSE(unlocked);
}

TEST(RuleScreens, TheAutomationNoticeNamesTheDeniedBrowsersAndItsButtonOpensTheSettings) {
    ShellRig rig;
    for (const char* browser : {"com.google.Chrome", "com.brave.Browser"}) {
        rig.ports.world.addBrowser(browser, {});
        rig.ports.world.setConsent(browser, SimulatedBrowserWorld::Consent::denied);
    }
    rig.shell->launch();
    ASSERT_TRUE(test::waitUntil(
        [&] { return rig.shell->delegate().browserMonitor().deniedBrowserNames().size() == 2; }));
    std::unique_ptr<QWidget> host(ScreenPages::rules(rig.shell->context()));
    auto* rules = host->findChild<RulesPage*>();
    RuleDetailPage* detail = rules->openGroup(rig.shell->delegate().store().groups().front().id);
    const auto& localizer = rig.shell->delegate().localizer();
    int opens = 0;
    for (QWidget* screen : {static_cast<QWidget*>(rules->listPage()), static_cast<QWidget*>(detail)}) {
        auto* banner = screen->findChild<AutomationPermissionBanner*>();
        ASSERT_NE(banner, nullptr);
        EXPECT_EQ(banner->title()->text(),
                  localizer.text(Strings::Permissions::Automation::title(), LanguagePreference::english()));
        EXPECT_TRUE(banner->message()->text().contains(QString::fromUtf8("Chrome\u30FBBrave")));
        banner->openSettingsButton()->click();
        EXPECT_EQ(rig.ports.world.callCounts().automationSettingsOpens, ++opens);
    }
}

} // namespace
} // namespace kivo
