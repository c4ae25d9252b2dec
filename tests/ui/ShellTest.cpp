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
#include "ui/rules/GroupSettingsSheet.h"
#include "ui/rules/PatternEditSheet.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/rules/RulesPage.h"
#include "ui/screens/ScreenPages.h"
#include "ui/sheets/QuitConfirmationSheet.h"
#include "ui/sheets/SheetPresenter.h"
#include "ui/shell/MainContent.h"
#include "ui/shell/MainWindow.h"
#include "ui/shield/QtShieldWindowSystem.h"
#include "ui/shield/ShieldVeil.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

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
        {"plain quit", [](QDialog* d, ShellRig&) { QTest::keyClick(d, Qt::Key_Q, Qt::ControlModifier); }},
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

RuleDetailPage* seedGroupPage(ShellRig& rig) {
    auto* rules = rig.shell->mainWindow().mainContent()->currentPage()->findChild<RulesPage*>();
    return rules->openGroup(rig.shell->delegate().store().groups().front().id);
}

// A pattern sheet with typed text and its delete alert open on top of it.
QMessageBox* patternSheetWithDeleteAlert(ShellRig& rig) {
    const auto& group = rig.shell->delegate().store().groups().front();
    auto* sheet = static_cast<PatternEditSheet*>(seedGroupPage(rig)->openEditSheet(group.rules.front().id));
    sheet->typePattern(QStringLiteral("typed.example"));
    sheet->deleteButton()->click();
    return sheet->findChild<QMessageBox*>(QStringLiteral("deleteConfirmation"));
}

std::vector<QDialog*> visibleDialogs(ShellRig& rig) {
    std::vector<QDialog*> open;
    for (auto* d : rig.shell->mainWindow().findChildren<QDialog*>())
        if (d->isVisible())
            open.push_back(d);
    return open;
}

TEST(Sheets, CtrlQEndsTheSheetInFrontAndPutsTheWindowAway) {
    struct Case {
        const char* name;
        std::function<QWidget*(ShellRig&)> open; // where the keys are typed
    };
    const Case cases[] = {
        {"no sheet", [](ShellRig& r) -> QWidget* { return &r.shell->mainWindow(); }},
        {"quit countdown",
         [](ShellRig& r) -> QWidget* {
             r.shell->delegate().beginQuit(QuitSource::settings);
             return r.shell->mainWindow().sheets().quitSheet();
         }},
        {"group sheet",
         [](ShellRig& r) -> QWidget* {
             auto* rules = r.shell->mainWindow().mainContent()->currentPage()->findChild<RulesPage*>();
             return static_cast<GroupSettingsSheet*>(rules->openAddSheet())->nameField();
         }},
        {"delete alert on a sheet", [](ShellRig& r) -> QWidget* { return patternSheetWithDeleteAlert(r); }},
    };
    for (const auto& c : cases) {
        ShellRig rig;
        rig.shell->launch();
        const auto groups = rig.shell->delegate().store().groups();
        QWidget* target = c.open(rig);
        ASSERT_NE(target, nullptr) << c.name;
        QApplication::setActiveWindow(target->window());
        QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier);
        EXPECT_TRUE(test::waitUntil([&] { return rig.shell->mainWindow().isMinimized(); })) << c.name;
        EXPECT_TRUE(visibleDialogs(rig).empty()) << c.name;
        EXPECT_FALSE(rig.shell->delegate().quitConfirmationFlow().state().isCounting()) << c.name;
        EXPECT_TRUE(rig.shell->delegate().store().groups() == groups)
            << c.name << ": nothing saved or deleted";
    }
}

TEST(Sheets, MinimisingAndRestoringLeavesSheetsAndCountdownsAsTheyWere) {
    ShellRig rig;
    rig.shell->launch();
    auto& window = rig.shell->mainWindow();
    auto& quit = rig.shell->delegate().quitConfirmationFlow();
    rig.shell->delegate().beginQuit(QuitSource::settings);
    QPointer<QMessageBox> alert = patternSheetWithDeleteAlert(rig);
    ASSERT_NE(alert, nullptr);
    QPointer<PatternEditSheet> sheet = qobject_cast<PatternEditSheet*>(alert->parentWidget());
    ASSERT_NE(sheet, nullptr);

    window.showMinimized();
    test::processEvents();
    rig.clock.advance(std::chrono::seconds(2));
    window.showNormal();
    test::processEvents();
    EXPECT_TRUE(quit.state().isCounting());
    EXPECT_EQ(quit.state().countdown()->remainingSeconds, 8);
    ASSERT_NE(window.sheets().quitSheet(), nullptr);
    ASSERT_TRUE(sheet && alert);
    EXPECT_TRUE(sheet->isVisible() && alert->isVisible());
    EXPECT_EQ(sheet->patternField()->text(), "typed.example");

    // Putting the window away (closing it) ends them all, the alert with its sheet.
    window.close();
    test::processEvents();
    EXPECT_FALSE(quit.state().isCounting());
    EXPECT_TRUE(!sheet || !sheet->isVisible());
    EXPECT_TRUE(!alert || !alert->isVisible());
    EXPECT_TRUE(visibleDialogs(rig).empty());
}

TEST(Sheets, ReturnInTheQuitSheetIsItsDefaultButtonEvenWithCancelFocused) {
    ShellRig rig;
    rig.shell->launch();
    rig.shell->delegate().beginQuit(QuitSource::settings);
    auto* sheet = static_cast<QuitConfirmationSheet*>(rig.shell->mainWindow().sheets().quitSheet());
    QApplication::setActiveWindow(sheet);
    sheet->cancelButton()->setFocus();
    QTest::keyClick(sheet->cancelButton(), Qt::Key_Return); // Quit is still disabled: nothing happens
    test::processEvents();
    EXPECT_TRUE(rig.shell->delegate().quitConfirmationFlow().state().isCounting());
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

// What a label shows, its markup read.
QString shownText(const QLabel& label) {
    QTextDocument shown;
    if (label.textFormat() == Qt::RichText) {
        shown.setHtml(label.text());
    } else {
        shown.setPlainText(label.text());
    }
    return shown.toPlainText();
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
    int sawName = 0;
    for (auto* label : sheet->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue; // an icon
        // Plain text, or rich text for the catalog's emphasis: never left for Qt to guess.
        EXPECT_NE(label->textFormat(), Qt::AutoText);
        sawName += shownText(*label).contains("<b>Browser</b>") ? 1 : 0;
    }
    EXPECT_EQ(sawName, 3) << "the browser's name is shown as typed in the title, the description and a step";
}

TEST(Sheets, EachPromptSaysWhatHoldsForItsBrowser) {
    // Only a Chromium-family browser must be restarted; only Firefox is told it follows the switch at once.
    const struct {
        const char* bundleId;
        bool asksForRestart;
        bool followsAtOnce;
    } cases[] = {{"com.google.Chrome", true, false},
                 {"com.brave.Browser", true, false},
                 {"org.mozilla.firefox", false, true},
                 {"org.example.browser", false, false}};
    for (const auto& c : cases) {
        ShellRig rig;
        rig.ports.world.setTrusted(false);
        rig.shell->launch();
        rig.shell->delegate().accessibilityFlow().requestPrompt(c.bundleId, "Xyz");
        test::processEvents();
        auto* sheet = rig.shell->mainWindow().sheets().accessibilitySheet();
        ASSERT_NE(sheet, nullptr) << c.bundleId;
        bool sawRestart = false;
        bool sawFollows = false;
        for (auto* label : sheet->findChildren<QLabel*>()) {
            const QString text = shownText(*label);
            sawRestart = sawRestart || text.contains("--force-renderer-accessibility");
            sawFollows = sawFollows || (text.startsWith("2.") && text.contains("Xyz"));
            EXPECT_FALSE(text.contains("Firefox")) << c.bundleId << ": no other browser is named";
        }
        EXPECT_EQ(sawRestart, c.asksForRestart) << c.bundleId;
        EXPECT_EQ(sawFollows, c.followsAtOnce) << c.bundleId;
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

TEST(MainWindow, QtsOwnTextsFollowTheInterfaceLanguageFromTheStart) {
    ShellRig rig(nlohmann::json{{"kivo.onboardingCompletedVersion", 1}, {"kivo.languagePreference", "japanese"}});
    rig.shell->launch();
    const auto menuTexts = [] {
        QLineEdit field(QStringLiteral("text"));
        std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text().section(QLatin1Char('\t'), 0, 0);
        return texts;
    };
    EXPECT_TRUE(menuTexts().contains(QStringLiteral("元に戻す(&U)"))) << menuTexts().join(' ').toStdString();
    const struct {
        LanguagePreference language;
        QString undo;
    } cases[] = {{LanguagePreference::korean(), QStringLiteral("실행 취소(&U)")},
                 {LanguagePreference::simplifiedChinese(), QStringLiteral("撤消(&U)")},
                 {LanguagePreference::traditionalChinese(), QStringLiteral("復原(&U)")},
                 {LanguagePreference::english(), QStringLiteral("&Undo")}};
    for (const auto& c : cases) {
        rig.shell->delegate().languageController().setLanguage(c.language);
        EXPECT_TRUE(menuTexts().contains(c.undo)) << menuTexts().join(' ').toStdString();
    }
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

TEST(MainWindow, TheLanguagePageFitsAndKeepsTheKeyboardAcrossALanguagePick) {
    ShellRig rig(nlohmann::json::object());
    rig.shell->launch();
    auto& window = rig.shell->mainWindow();
    QApplication::setActiveWindow(&window);
    QPointer<LanguageOnboardingPage> page = qobject_cast<LanguageOnboardingPage*>(window.content());
    ASSERT_NE(page, nullptr);
    test::processEvents();
    const QPushButton* next = page->continueButton();
    const int bottomInset = window.height() - (next->mapTo(&window, QPoint(0, next->height())).y());
    EXPECT_GE(window.height(), 480);
    EXPECT_GE(bottomInset, 32);

    page->picker()->setFocus();
    QTest::keyClick(page->picker(), Qt::Key_Down); // another language: the page is built again
    ASSERT_TRUE(
        test::waitUntil([&] { return window.content() != page.data() && window.content()->isVisible(); }));
    auto* again = qobject_cast<LanguageOnboardingPage*>(window.content());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(QApplication::focusWidget(), again->picker());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(rig.shell->delegate().onboardingController().isCompleted());
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
