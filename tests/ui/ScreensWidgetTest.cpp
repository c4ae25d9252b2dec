#include "ScreenRig.h"

#include "app/language/LocalizedStrings.h"
#include "app/rules/PatternEditPresenter.h"
#include "ui/brightness/BrightnessTriggerPage.h"
#include "ui/brightness/BrightnessTriggerSheet.h"
#include "ui/components/AccordionHeader.h"
#include "ui/more/MorePage.h"
#include "ui/rules/ClickableRow.h"
#include "ui/rules/DayOfWeekPicker.h"
#include "ui/rules/GroupReorderSheet.h"
#include "ui/rules/GroupSettingsSheet.h"
#include "ui/rules/GroupSummaryCard.h"
#include "ui/rules/PatternEditSheet.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/rules/RulesPage.h"
#include "ui/rules/ScheduleEditor.h"
#include "ui/rules/UnlockPolicyEditor.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace kivo {
namespace {

using test::ScreenRig;

struct Builder {
    const char* name;
    std::function<QWidget*(ScreenRig&)> build;
};

const BlockRuleGroup& seedGroup(ScreenRig& rig) {
    return rig.rules.groups().front();
}

std::vector<Builder> everyScreen() {
    return {
        {"rules", [](ScreenRig& r) { return new RulesPage(r.context, &r.window); }},
        {"detail", [](ScreenRig& r) { return new RuleDetailPage(r.context, seedGroup(r).id, &r.window); }},
        {"new group",
         [](ScreenRig& r) { return new GroupSettingsSheet(r.context, std::nullopt, &r.window); }},
        {"group settings",
         [](ScreenRig& r) { return new GroupSettingsSheet(r.context, seedGroup(r), &r.window); }},
        {"new pattern",
         [](ScreenRig& r) {
             return new PatternEditSheet(
                 r.context, PatternEditPresenter::adding(seedGroup(r).id, RuleAction::allow), &r.window);
         }},
        {"edit pattern",
         [](ScreenRig& r) {
             return new PatternEditSheet(
                 r.context, PatternEditPresenter::editing(seedGroup(r).id, seedGroup(r).rules.front()),
                 &r.window);
         }},
        {"reorder", [](ScreenRig& r) { return new GroupReorderSheet(r.context, &r.window); }},
        {"display", [](ScreenRig& r) { return new BrightnessTriggerPage(r.context, &r.window); }},
        {"new trigger",
         [](ScreenRig& r) { return new BrightnessTriggerSheet(r.context, std::nullopt, &r.window); }},
        {"edit trigger",
         [](ScreenRig& r) {
             return new BrightnessTriggerSheet(r.context, r.triggers.triggers().front(), &r.window);
         }},
        {"more", [](ScreenRig& r) { return new MorePage(r.context, &r.window); }},
    };
}

TEST(ScreensWidgetTest, BuildingShowingAndClosingAScreenWritesNothing) {
    for (const Builder& b : everyScreen()) {
        ScreenRig rig;
        const int before = rig.writes();
        const auto language = rig.language.current();
        QPointer<QWidget> screen = b.build(rig);
        screen->show();
        test::processEvents();
        if (auto* dialog = qobject_cast<QDialog*>(screen.data())) {
            dialog->reject();
        }
        delete screen;
        test::processEvents();
        EXPECT_EQ(rig.writes(), before) << b.name;
        EXPECT_EQ(rig.language.current(), language) << b.name;
    }
}

TEST(ScreensWidgetTest, EscapeCancelsAndReturnSaves) {
    struct Case {
        const char* name;
        std::function<QDialog*(ScreenRig&)> open;
        std::function<void(QDialog*)> fill;
        std::function<bool(ScreenRig&)> saved;
    };
    const Case cases[] = {
        {"group", [](ScreenRig& r) { return new GroupSettingsSheet(r.context, std::nullopt, &r.window); },
         [](QDialog* d) {
             auto* s = static_cast<GroupSettingsSheet*>(d);
             s->nameField()->setText("Evening");
             emit s->nameField()->textEdited("Evening");
         },
         [](ScreenRig& r) { return r.rules.groups().size() == 2; }},
        {"pattern",
         [](ScreenRig& r) {
             return new PatternEditSheet(
                 r.context, PatternEditPresenter::adding(seedGroup(r).id, RuleAction::block), &r.window);
         },
         [](QDialog* d) { static_cast<PatternEditSheet*>(d)->typePattern("news.example"); },
         [](ScreenRig& r) { return seedGroup(r).rules.back().pattern == "news.example"; }},
        {"trigger",
         [](ScreenRig& r) { return new BrightnessTriggerSheet(r.context, std::nullopt, &r.window); },
         [](QDialog* d) {
             auto* s = static_cast<BrightnessTriggerSheet*>(d);
             s->nameField()->setText("Dusk");
             emit s->nameField()->textEdited("Dusk");
         },
         [](ScreenRig& r) { return r.triggers.triggers().size() == 3; }},
    };
    for (const Case& c : cases) {
        ScreenRig rig;
        const int before = rig.writes();
        QDialog* sheet = c.open(rig);
        sheet->open();
        c.fill(sheet);
        test::pressKey(sheet, Qt::Key_Escape);
        EXPECT_FALSE(sheet->isVisible()) << c.name;
        EXPECT_EQ(rig.writes(), before) << c.name;
        delete sheet;

        sheet = c.open(rig);
        sheet->open();
        c.fill(sheet);
        test::pressKey(sheet, Qt::Key_Return);
        EXPECT_FALSE(sheet->isVisible()) << c.name;
        EXPECT_TRUE(c.saved(rig)) << c.name;
        delete sheet;
    }
}

// The controls a keyboard user can land on, in Tab order.
std::vector<QWidget*> focusChain(QWidget* sheet) {
    std::vector<QWidget*> chain;
    for (QWidget* w = sheet->nextInFocusChain(); w != sheet; w = w->nextInFocusChain()) {
        if (w->isVisibleTo(sheet) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            !qobject_cast<QLabel*>(w)) {
            chain.push_back(w);
        }
    }
    return chain;
}

void userClick(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton);
    test::processEvents();
}

TEST(ScreensWidgetTest, ReturnSavesWhicheverControlHasTheFocus) {
    struct Case {
        const char* name;
        std::function<QDialog*(ScreenRig&)> open;
        // What the user did before Return: segment buttons clicked, sections opened.
        std::function<void(QDialog*)> use;
        std::function<bool(ScreenRig&)> saved;
    };
    const auto backoff30 = UnlockPolicy::waitWithBackoff(30, ResetInterval::hours(72));
    const Case cases[] = {
        {"new group", [](ScreenRig& r) { return new GroupSettingsSheet(r.context, std::nullopt, &r.window); },
         [](QDialog* d) {
             auto* s = static_cast<GroupSettingsSheet*>(d);
             QTest::keyClicks(s->nameField(), "Evening");
             userClick(s->scheduleEditor()->recurringButton());
             userClick(s->findChild<QPushButton*>(QStringLiteral("addTimeWindow")));
             userClick(s->unlockEditor()->typeButton(UnlockPolicyEditorModel::PolicyType::wait));
             userClick(s->findChild<AccordionHeader*>());
         },
         [](ScreenRig& r) {
             const auto& g = r.rules.groups().back();
             return r.rules.groups().size() == 2 && g.unlockPolicy == UnlockPolicy::waitToUnlock(10) &&
                    g.schedule.recurringSchedule() && g.schedule.recurringSchedule()->timeWindows.size() == 2;
         }},
        {"stored backoff",
         [backoff30](ScreenRig& r) {
             r.rules.replaceGroup(seedGroup(r).id, seedGroup(r).withUnlockPolicy(backoff30));
             return new GroupSettingsSheet(r.context, seedGroup(r), &r.window);
         },
         [](QDialog* d) {
             auto* s = static_cast<GroupSettingsSheet*>(d);
             userClick(s->unlockEditor()->typeButton(UnlockPolicyEditorModel::PolicyType::backoff));
             userClick(s->scheduleEditor()->alwaysButton());
             emit s->unlockEditor()->resetPicker()->activated(
                 s->unlockEditor()->resetPicker()->currentIndex());
         },
         [backoff30](ScreenRig& r) { return seedGroup(r).unlockPolicy == backoff30; }},
        {"pattern",
         [](ScreenRig& r) {
             return new PatternEditSheet(
                 r.context, PatternEditPresenter::adding(seedGroup(r).id, RuleAction::block), &r.window);
         },
         [](QDialog* d) {
             auto* s = static_cast<PatternEditSheet*>(d);
             QTest::keyClicks(s->patternField(), "news.example");
             userClick(s->findChild<AccordionHeader*>());
         },
         [](ScreenRig& r) { return seedGroup(r).rules.back().pattern == "news.example"; }},
        {"trigger",
         [](ScreenRig& r) { return new BrightnessTriggerSheet(r.context, std::nullopt, &r.window); },
         [](QDialog* d) {
             auto* s = static_cast<BrightnessTriggerSheet*>(d);
             QTest::keyClicks(s->nameField(), "Dusk");
             userClick(s->byDayButton());
         },
         [](ScreenRig& r) {
             return r.triggers.triggers().size() == 3 && !r.triggers.triggers().back().isEveryDay();
         }},
        {"reorder", [](ScreenRig& r) { return new GroupReorderSheet(r.context, &r.window); }, [](QDialog*) {},
         [](ScreenRig&) { return true; }},
    };
    for (const Case& c : cases) {
        std::size_t controls = 1;
        for (std::size_t i = 0; i < controls; ++i) {
            ScreenRig rig;
            QDialog* sheet = c.open(rig);
            sheet->open();
            QApplication::setActiveWindow(sheet);
            c.use(sheet);
            const auto chain = focusChain(sheet);
            controls = chain.size();
            ASSERT_LT(i, controls) << c.name;
            chain[i]->setFocus(Qt::TabFocusReason);
            QTest::keyClick(chain[i], Qt::Key_Return);
            EXPECT_EQ(sheet->result(), QDialog::Accepted)
                << c.name << " with " << chain[i]->metaObject()->className() << " " << i << " focused";
            EXPECT_TRUE(c.saved(rig)) << c.name << " " << i;
            delete sheet;
        }
        EXPECT_GE(controls, 2u) << c.name;
    }
}

TEST(ScreensWidgetTest, AddingAndRemovingTimeWindowsKeepsTheFocusInTheWindowList) {
    ScreenRig rig;
    GroupSettingsSheet sheet(rig.context, std::nullopt, &rig.window);
    sheet.open();
    QApplication::setActiveWindow(&sheet);
    userClick(sheet.scheduleEditor()->recurringButton());
    sheet.findChild<QPushButton*>(QStringLiteral("addTimeWindow"))->setFocus();
    // Space on the add button three times (the last one takes the button away), then on remove buttons.
    for (int press = 0; press < 6; ++press) {
        QWidget* used = QApplication::focusWidget();
        ASSERT_NE(used, nullptr);
        if (press == 3) {
            used = sheet.scheduleEditor()->findChildren<QToolButton*>().back();
            used->setFocus();
        }
        QTest::keyClick(used, Qt::Key_Space);
        test::processEvents();
        QWidget* now = QApplication::focusWidget();
        EXPECT_TRUE(now && sheet.scheduleEditor()->isAncestorOf(now) && now->isVisible()) << press;
        EXPECT_FALSE(now && sheet.scheduleEditor()->dayPicker()->isAncestorOf(now)) << press;
    }
    EXPECT_EQ(sheet.scheduleEditor()->model().timeWindows().size(), 1u);
}

TEST(ScreensWidgetTest, ATriggerRowIsReachedWithTabAndOpenedWithSpaceOrReturn) {
    for (const auto key : {Qt::Key_Space, Qt::Key_Return}) {
        ScreenRig rig;
        auto* page = new BrightnessTriggerPage(rig.context, &rig.window);
        page->show();
        QApplication::setActiveWindow(&rig.window);
        page->findChild<QPushButton*>()->setFocus(); // the add button
        for (int i = 0; i < 6 && !qobject_cast<ClickableRow*>(QApplication::focusWidget()); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        auto* row = qobject_cast<ClickableRow*>(QApplication::focusWidget());
        ASSERT_NE(row, nullptr) << key;
        QTest::keyClick(row, key);
        auto* sheet = page->findChild<BrightnessTriggerSheet*>();
        ASSERT_NE(sheet, nullptr) << key;
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_TRUE(sheet->presenter().isEditing());
        EXPECT_EQ(sheet->nameField()->text(), QString::fromStdString(rig.triggers.triggers().front().name()));
        QApplication::setActiveWindow(sheet);
        EXPECT_EQ(QApplication::focusWidget(), sheet->nameField()) << "it opens on the name";
    }
}

TEST(ScreensWidgetTest, SheetsAndIconButtonsCarryTheirAccessibleNames) {
    ScreenRig rig;
    const auto t = [&](const LocalizedString& key) { return rig.context.text(key); };
    GroupSettingsSheet group(rig.context, std::nullopt, &rig.window);
    PatternEditSheet pattern(rig.context, PatternEditPresenter::adding(seedGroup(rig).id, RuleAction::allow),
                             &rig.window);
    GroupReorderSheet reorder(rig.context, &rig.window);
    BrightnessTriggerSheet trigger(rig.context, rig.triggers.triggers().front(), &rig.window);
    RuleDetailPage detail(rig.context, seedGroup(rig).id, &rig.window);
    detail.setSelectedTab(RuleAction::allow); // no allow rules: the placeholder's plus button
    group.scheduleEditor()->recurringButton()->click();
    group.findChild<QPushButton*>(QStringLiteral("addTimeWindow"))->click(); // two windows: remove buttons
    test::processEvents();
    const auto named = [](QWidget* root, const QString& name) {
        const auto all = root->findChildren<QWidget*>();
        return root->accessibleName() == name || std::any_of(all.begin(), all.end(), [&](QWidget* w) {
                   return w->accessibleName() == name && w->isVisibleTo(root);
               });
    };
    const std::pair<QWidget*, QString> cases[] = {
        {&group, t(Strings::GroupRule::addTitle())},
        {&pattern, t(Strings::Pattern::Title::addAllow())},
        {&reorder, t(Strings::GroupReorder::title())},
        {&trigger, t(Strings::Display::editTrigger())},
        {&detail, t(Strings::RuleDetail::addPattern())},
        {&group, t(Strings::Schedule::A11y::deleteRange(2))},
        {&group, t(Strings::Domain::DayFull::wednesday())},
    };
    for (const auto& [root, name] : cases) {
        EXPECT_TRUE(named(root, name)) << name.toStdString();
    }
}

TEST(ScreensWidgetTest, DeleteAsksWithCancelFirstAndOnlyDeleteRemoves) {
    ScreenRig rig;
    const BlockRule rule = seedGroup(rig).rules.front();
    auto* sheet = new PatternEditSheet(rig.context, PatternEditPresenter::editing(seedGroup(rig).id, rule),
                                       &rig.window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<PatternEditSheet> alive(sheet);
    sheet->open();
    for (const bool confirm : {false, true}) {
        sheet->deleteButton()->click();
        auto* box = sheet->findChild<QMessageBox*>(QStringLiteral("deleteConfirmation"));
        ASSERT_NE(box, nullptr);
        const auto buttons = box->buttons();
        ASSERT_EQ(buttons.size(), 2);
        EXPECT_EQ(box->buttonRole(buttons[0]), QMessageBox::RejectRole);
        EXPECT_EQ(buttons[0]->text(), rig.context.text(Strings::Common::cancel()));
        EXPECT_EQ(box->buttonRole(buttons[1]), QMessageBox::DestructiveRole);
        buttons[confirm ? 1 : 0]->click();
        test::processEvents();
        const auto& rules = seedGroup(rig).rules;
        const bool present =
            std::any_of(rules.begin(), rules.end(), [&](const BlockRule& r) { return r.id == rule.id; });
        EXPECT_EQ(present, !confirm);
        if (!confirm) {
            EXPECT_TRUE(sheet->isVisible());
        }
    }
    EXPECT_TRUE(test::waitUntil([&] { return alive.isNull(); }));
}

TEST(ScreensWidgetTest, PastedTextIsCutToTheLimitByCharacters) {
    ScreenRig rig;
    GroupSettingsSheet group(rig.context, std::nullopt, &rig.window);
    PatternEditSheet pattern(rig.context, PatternEditPresenter::adding(seedGroup(rig).id, RuleAction::block),
                             &rig.window);
    BrightnessTriggerSheet trigger(rig.context, std::nullopt, &rig.window);
    const QString thumbs = QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"); // one character, four units
    const struct {
        QLineEdit* field;
        int limit;
    } cases[] = {{group.nameField(), 20},
                 {group.redirectField(), 200},
                 {pattern.patternField(), 120},
                 {trigger.nameField(), 20}};
    for (const auto& c : cases) {
        c.field->clear();
        QApplication::clipboard()->setText(thumbs.repeated(c.limit + 5));
        c.field->paste();
        EXPECT_EQ(c.field->text(), thumbs.repeated(c.limit)) << c.limit;
    }
    EXPECT_EQ(pattern.counterLabel()->text(), QStringLiteral("120 / 120"));
}

TEST(ScreensWidgetTest, APreviewStartsOnlyFromASliderAndEndsOnEveryWayOut) {
    enum class Way { cancel, escape, windowHidden, destroyed };
    for (const Way way : {Way::cancel, Way::escape, Way::windowHidden, Way::destroyed}) {
        ScreenRig rig;
        auto* sheet = new BrightnessTriggerSheet(rig.context, rig.triggers.triggers().front(), &rig.window);
        sheet->open();
        test::processEvents();
        EXPECT_FALSE(rig.brightness.isPreviewing());
        sheet->sliders("Studio").front()->setValue(10);
        EXPECT_TRUE(rig.brightness.isPreviewing());
        switch (way) {
        case Way::cancel:
            sheet->reject();
            break;
        case Way::escape:
            test::pressKey(sheet, Qt::Key_Escape);
            break;
        case Way::windowHidden:
            rig.window.hide();
            break;
        case Way::destroyed:
            break;
        }
        EXPECT_EQ(rig.brightness.isPreviewing(), way == Way::destroyed) << static_cast<int>(way);
        delete sheet;
        EXPECT_FALSE(rig.brightness.isPreviewing()) << static_cast<int>(way);
    }
}

TEST(ScreensWidgetTest, SwitchesGoThroughTheShieldAndShowTheStoredValue) {
    ScreenRig rig;
    rig.rules.replaceGroup(seedGroup(rig).id, seedGroup(rig).withUnlockPolicy(UnlockPolicy::waitToUnlock(5)));
    RuleDetailPage page(rig.context, seedGroup(rig).id, &rig.window);
    page.show();
    QCheckBox* toggle = page.card()->groupSwitch();
    ASSERT_TRUE(toggle->isChecked());
    toggle->click();
    toggle->click(); // a quick second click
    EXPECT_TRUE(rig.shield.isShown());
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(seedGroup(rig).isEnabled);
    for (int i = 0; i < 5; ++i) {
        rig.clock.advance(std::chrono::seconds(1));
    }
    EXPECT_FALSE(seedGroup(rig).isEnabled);
    test::processEvents();
    EXPECT_FALSE(page.card()->groupSwitch()->isChecked());
}

TEST(ScreensWidgetTest, ALanguagePickRebuildsAfterThePickersSignal) {
    ScreenRig rig;
    auto* host = new QWidget(&rig.window);
    QPointer<MorePage> page = new MorePage(rig.context, host);
    // The application rebuilds the window's content on a language change; here that deletes the page.
    rig.language.setOnLanguageChanged([&](LanguagePreference) { delete host; });
    emit page->languagePicker()->activated(2);
    EXPECT_FALSE(page.isNull()); // still alive inside its own signal
    test::processEvents();
    EXPECT_TRUE(page.isNull());
    EXPECT_EQ(rig.language.current(), LanguagePreference::korean());
}

TEST(ScreensWidgetTest, MoreLinksOpenOnlyAfterConfirmingInTheCurrentLanguage) {
    ScreenRig rig;
    rig.context.links.privacySite = QStringLiteral("https://kivo.test");
    MorePage page(rig.context, &rig.window);
    EXPECT_TRUE(page.updatesButton()->isEnabled() == rig.updater.canCheckForUpdates());
    for (const bool open : {false, true}) {
        page.privacyButton()->click();
        auto* box = page.findChild<QMessageBox*>(QStringLiteral("privacyConfirmation"));
        ASSERT_NE(box, nullptr);
        rig.language.setCurrent(LanguagePreference::korean());
        box->buttons()[open ? 0 : 1]->click();
        test::processEvents();
    }
    ASSERT_EQ(rig.opened.size(), 1u);
    EXPECT_TRUE(rig.opened[0].path().startsWith(QStringLiteral("/ko/")));
    page.eraseButton()->click();
    EXPECT_NE(rig.eraseFlow.stage(), EraseAllDataFlow::Stage::inactive());
}

// What each link opens, with the addresses a packager set and without them, in every language. Without
// them nothing may lead nowhere: no feedback row, the statement installed with Kivo, the library's name.
TEST(ScreensWidgetTest, EachLinkOpensTheBuildsPageOrTheInstalledStatement) {
    LinkAddresses set;
    set.feedback = QStringLiteral("https://forms.test/kivo");
    set.feedbackJapanese = QStringLiteral("https://forms.test/kivo-ja");
    set.privacySite = QStringLiteral("https://kivo.test/");
    set.libraryRepository = QStringLiteral("https://code.test/dimwell");
    LinkAddresses unset;
    unset.statementDirectory = LinkAddresses::builtIn().statementDirectory; // the build tree's copy
    ASSERT_FALSE(unset.statementDirectory.isEmpty());
    const struct {
        LanguagePreference language;
        const char* feedback; // with the addresses set; none without them
        const char* privacySite;
        const char* statement; // without them
    } rows[] = {
        {LanguagePreference::japanese(), "https://forms.test/kivo-ja", "https://kivo.test/ja/privacy",
         "privacy.ja.html"},
        {LanguagePreference::english(), "https://forms.test/kivo", "https://kivo.test/privacy",
         "privacy.html"},
        {LanguagePreference::korean(), "https://forms.test/kivo", "https://kivo.test/ko/privacy",
         "privacy.ko.html"},
        {LanguagePreference::simplifiedChinese(), "https://forms.test/kivo",
         "https://kivo.test/zh-Hans/privacy", "privacy.zh-Hans.html"},
        {LanguagePreference::traditionalChinese(), "https://forms.test/kivo",
         "https://kivo.test/zh-Hant/privacy", "privacy.zh-Hant.html"},
    };
    for (const auto& row : rows) {
        for (const bool isSet : {true, false}) {
            SCOPED_TRACE(std::string(row.language.rawValue()) + (isSet ? " set" : " unset"));
            ScreenRig rig;
            rig.language.setCurrent(row.language);
            rig.context.links = isSet ? set : unset;
            MorePage page(rig.context, &rig.window);
            std::vector<QUrl> expected;
            if (isSet) {
                ASSERT_NE(page.feedbackButton(), nullptr);
                page.feedbackButton()->click();
                page.findChild<QMessageBox*>(QStringLiteral("feedbackConfirmation"))->buttons()[0]->click();
                expected.emplace_back(QString::fromLatin1(row.feedback));
            } else {
                EXPECT_EQ(page.feedbackButton(), nullptr);
            }
            ASSERT_NE(page.privacyButton(), nullptr);
            page.privacyButton()->click();
            page.findChild<QMessageBox*>(QStringLiteral("privacyConfirmation"))->buttons()[0]->click();
            expected.push_back(
                isSet ? QUrl(QString::fromLatin1(row.privacySite))
                      : QUrl::fromLocalFile(QDir(unset.statementDirectory).filePath(row.statement)));
            EXPECT_EQ(rig.opened, expected);
            EXPECT_TRUE(isSet || QFileInfo(rig.opened.back().toLocalFile()).isFile());

            BrightnessTriggerSheet sheet(rig.context, std::nullopt, &rig.window);
            auto* credit = sheet.findChild<QLabel*>(QStringLiteral("libraryCredit"));
            ASSERT_NE(credit, nullptr);
            EXPECT_EQ(credit->textFormat(), isSet ? Qt::RichText : Qt::PlainText);
            EXPECT_EQ(credit->text().contains(QStringLiteral("code.test/dimwell")), isSet);
            EXPECT_EQ(credit->text().contains(QStringLiteral("Dimwell")), !isSet);
            if (isSet) {
                emit credit->linkActivated(QStringLiteral("ignored"));
                EXPECT_EQ(rig.opened.back(), QUrl(set.libraryRepository));
            }
        }
    }
    // No statement installed and no site: the privacy row is left out too.
    ScreenRig rig;
    MorePage page(rig.context, &rig.window);
    EXPECT_EQ(page.privacyButton(), nullptr);
}

} // namespace
} // namespace kivo
