// The lists of rows as a keyboard and a screen reader meet them: what the accessibility tree says of each
// control, and where the focus is after a change made from the keyboard.
#include "AccessibleControls.h"
#include "ScreenRig.h"

#include "app/rules/PatternEditPresenter.h"
#include "ui/brightness/BrightnessTriggerPage.h"
#include "ui/brightness/BrightnessTriggerSheet.h"
#include "ui/components/RowList.h"
#include "ui/rules/GroupSettingsSheet.h"
#include "ui/rules/PatternEditSheet.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/rules/RulesPage.h"
#include "ui/rules/ScheduleEditor.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <functional>
#include <optional>

namespace kivo {
namespace {

using test::Control;
using test::focusable;
using test::ScreenRig;
using Role = QAccessible::Role;

QWidget* find(QWidget* root, Role role, const QString& name) {
    for (const Control& c : focusable(root)) {
        if (c.role == role && c.name == name) {
            return c.widget;
        }
    }
    return nullptr;
}

std::optional<Control> describe(QWidget* widget) {
    QAccessibleInterface* node = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    if (node == nullptr) {
        return std::nullopt;
    }
    return Control{node->role(), node->text(QAccessible::Name), node->state().checked != 0, {}, widget};
}

// Two groups (the seed "Blocklist" with its five switched-off patterns, and a switched-off group holding a
// name that reads as markup and one pattern) and the two seed triggers, 05:30 and 19:30.
const QString kStudy = QStringLiteral("Study & <i>focus</i>");

Uuid addStudyGroup(ScreenRig& rig) {
    const BlockRuleGroup study{
        Uuid::random(),
        kStudy.toStdString(),
        false,
        {BlockRule{Uuid::random(), "*news.example/*", true, RuleAction::block, {}, {}}},
        false,
        BlockSchedule::always(),
        UnlockPolicy::instant(),
        std::nullopt,
        std::nullopt};
    rig.rules.addGroup(study);
    return study.id;
}

const BlockRuleGroup& group(ScreenRig& rig, const QString& name) {
    for (const auto& g : rig.rules.groups()) {
        if (QString::fromStdString(g.name) == name) {
            return g;
        }
    }
    ADD_FAILURE() << "no group " << name.toStdString();
    return rig.rules.groups().front();
}

DaySet everyDay() {
    return DaySet(allDaysOfWeek().begin(), allDaysOfWeek().end());
}

QWidget* show(ScreenRig& rig, QWidget* page) {
    page->resize(rig.window.size());
    page->show();
    test::processEvents();
    return page;
}

QWidget* displayPage(ScreenRig& rig) {
    return show(rig, new BrightnessTriggerPage(rig.context, &rig.window));
}
QWidget* rulesPage(ScreenRig& rig) {
    return show(rig, new RulesPage(rig.context, &rig.window));
}
std::function<QWidget*(ScreenRig&)> detailPage(QString name) {
    return [name](ScreenRig& rig) {
        return show(rig, new RuleDetailPage(rig.context, group(rig, name).id, &rig.window));
    };
}

TEST(RowsAccessibility, EveryControlIsNamedRowsAreButtonsAndTheirControlsSayWhoseTheyAre) {
    const QString rnd = QStringLiteral("R&D <b>lab</b>");
    struct Case {
        const char* list;
        std::function<QWidget*(ScreenRig&)> open;
        std::vector<Control> expected;
    };
    const Case cases[] = {
        {"triggers",
         displayPage,
         {{Role::Button, "Sunrise 05:30"},
          {Role::CheckBox, "Sunrise", false},
          {Role::Button, "Apply Sunrise now"},
          {Role::Button, rnd + " 21:30"},
          {Role::CheckBox, rnd, true},
          {Role::Button, "Apply " + rnd + " now"}}},
        {"groups",
         rulesPage,
         {{Role::Button, "Blocklist"},
          {Role::CheckBox, "Blocklist", true},
          {Role::Button, kStudy},
          {Role::CheckBox, kStudy, false}}},
        {"patterns",
         detailPage(QStringLiteral("Blocklist")),
         {{Role::Button, "Edit Blocklist"},
          {Role::CheckBox, "Blocklist", true},
          {Role::Button, "youtube.com/shorts/"},
          {Role::CheckBox, "youtube.com/shorts/", false},
          {Role::Button, "reddit.com/"},
          {Role::CheckBox, "reddit.com/", false}}},
        {"time ranges",
         [](ScreenRig& rig) -> QWidget* {
             auto* sheet = new GroupSettingsSheet(rig.context, std::nullopt, &rig.window);
             sheet->open();
             QTest::keyClick(sheet->scheduleEditor()->recurringButton(), Qt::Key_Space);
             QTest::keyClick(sheet->findChild<QPushButton*>(QStringLiteral("addTimeWindow")), Qt::Key_Space);
             test::processEvents();
             return sheet->scheduleEditor();
         },
         {{Role::SpinBox, "Start of time range 1"},
          {Role::SpinBox, "End of time range 2"},
          {Role::Button, "Delete time range 1"},
          {Role::Button, "Delete time range 2"}}},
        {"segments",
         [](ScreenRig& rig) -> QWidget* {
             auto* sheet = new GroupSettingsSheet(rig.context, std::nullopt, &rig.window);
             sheet->open();
             return sheet;
         },
         {{Role::CheckBox, "Always", true, "Schedule Type"},
          {Role::CheckBox, "Recurring", false, "Schedule Type"},
          {Role::CheckBox, "Instant", true, "Unlock Method"},
          {Role::CheckBox, "Backoff", false, "Unlock Method"},
          {Role::Button, "Cancel", false, ""}}},
        {"trigger segments",
         [](ScreenRig& rig) -> QWidget* {
             auto* sheet =
                 new BrightnessTriggerSheet(rig.context, rig.triggers.triggers().front(), &rig.window);
             sheet->open();
             return sheet;
         },
         {{Role::CheckBox, "Every Day", true, "Schedule Type"},
          {Role::CheckBox, "By Day", false, "Schedule Type"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        ScreenRig rig;
        addStudyGroup(rig);
        rig.triggers.addTrigger(
            BrightnessTrigger(Uuid::random(), rnd.toStdString(), 21 * 60 + 30, everyDay(), {}, true, false));
        const auto found = focusable(c.open(rig));
        for (const Control& control : found) {
            EXPECT_NE(control.role, Role::Client) << control.name.toStdString();
            EXPECT_NE(control.role, Role::NoRole) << control.name.toStdString();
            EXPECT_FALSE(control.name.trimmed().isEmpty())
                << "unnamed " << (control.widget ? control.widget->metaObject()->className() : "object");
        }
        for (const Control& expected : c.expected) {
            const auto hit = std::find_if(found.begin(), found.end(), [&](const Control& f) {
                return f.role == expected.role && f.name == expected.name;
            });
            ASSERT_NE(hit, found.end()) << expected.name.toStdString();
            EXPECT_EQ(hit->group, expected.group) << expected.name.toStdString();
            if (expected.role == Role::CheckBox) {
                EXPECT_EQ(hit->checked, expected.checked) << expected.name.toStdString();
            }
        }
    }
}

// Where the focus is once a change made from the keyboard has settled: the control that had it, or the
// one the user expects next, by role and name.
TEST(RowsAccessibility, AChangeKeepsTheFocusOnTheRowOrControlTheUserWasOn) {
    using Act = std::function<void(ScreenRig&, QWidget * page, QWidget * focused)>;
    const Act space = [](ScreenRig&, QWidget*, QWidget* focused) { QTest::keyClick(focused, Qt::Key_Space); };
    // Opens the focused row's (or button's) sheet with Space and leaves it open.
    const auto sheetOf = [](QWidget* page, QWidget* focused) {
        QTest::keyClick(focused, Qt::Key_Space);
        test::processEvents();
        QDialog* sheet = nullptr;
        for (auto* d : page->findChildren<QDialog*>()) {
            sheet = d->isVisible() ? d : sheet;
        }
        EXPECT_NE(sheet, nullptr);
        return sheet;
    };
    const auto retype = [](QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    };
    const Act renameTrigger = [&](ScreenRig&, QWidget* page, QWidget* focused) {
        retype(static_cast<BrightnessTriggerSheet*>(sheetOf(page, focused))->nameField(),
               QStringLiteral("Dawn"));
    };
    const Act renameGroup = [&](ScreenRig&, QWidget* page, QWidget* focused) {
        retype(static_cast<GroupSettingsSheet*>(sheetOf(page, focused))->nameField(),
               QStringLiteral("Evening"));
    };
    const auto typePattern = [&](const char* pattern) {
        return Act([&, pattern](ScreenRig&, QWidget* page, QWidget* focused) {
            retype(static_cast<PatternEditSheet*>(sheetOf(page, focused))->patternField(),
                   QString::fromLatin1(pattern));
        });
    };
    const Act deleteInSheet = [&](ScreenRig&, QWidget* page, QWidget* focused) {
        QDialog* sheet = sheetOf(page, focused);
        QWidget* remove = find(sheet, Role::Button, QStringLiteral("Delete"));
        ASSERT_NE(remove, nullptr);
        QTest::keyClick(remove, Qt::Key_Space);
        auto* box = sheet->findChild<QMessageBox*>(QStringLiteral("deleteConfirmation"));
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box->buttons()[1], Qt::Key_Space);
    };
    struct Case {
        const char* change;
        std::function<QWidget*(ScreenRig&)> open;
        Control start;
        Act act;
        Control after;
    };
    const Case cases[] = {
        {"trigger switch",
         displayPage,
         {Role::CheckBox, "Sunrise"},
         space,
         {Role::CheckBox, "Sunrise", true}},
        {"group switch", rulesPage, {Role::CheckBox, kStudy}, space, {Role::CheckBox, kStudy, true}},
        {"pattern switch",
         detailPage("Blocklist"),
         {Role::CheckBox, "reddit.com/"},
         space,
         {Role::CheckBox, "reddit.com/", true}},
        {"group card switch",
         detailPage(kStudy),
         {Role::CheckBox, kStudy},
         space,
         {Role::CheckBox, kStudy, true}},
        {"trigger renamed",
         displayPage,
         {Role::Button, "Sunrise 05:30"},
         renameTrigger,
         {Role::Button, "Dawn 05:30"}},
        {"group renamed",
         detailPage("Blocklist"),
         {Role::Button, "Edit Blocklist"},
         renameGroup,
         {Role::Button, "Edit Evening"}},
        {"pattern edited",
         detailPage("Blocklist"),
         {Role::Button, "tiktok.com/"},
         typePattern("news.example/world"),
         {Role::Button, "news.example/world"}},
        {"pattern added",
         detailPage("Blocklist"),
         {Role::Button, "+ Add Pattern"},
         typePattern("news.example"),
         {Role::Button, "+ Add Pattern"}},
        {"trigger added elsewhere",
         displayPage,
         {Role::CheckBox, "Sunset"},
         [](ScreenRig& rig, QWidget*, QWidget*) {
             rig.triggers.addTrigger(
                 BrightnessTrigger(Uuid::random(), "Dusk", 20 * 60, everyDay(), {}, true, false));
         },
         {Role::CheckBox, "Sunset", false}},
        {"trigger deleted",
         displayPage,
         {Role::Button, "Sunrise 05:30"},
         deleteInSheet,
         {Role::Button, "Sunset 19:30"}},
        {"last trigger deleted",
         displayPage,
         {Role::Button, "Sunset 19:30"},
         deleteInSheet,
         {Role::Button, "Sunrise 05:30"}},
        {"only pattern deleted",
         detailPage(kStudy),
         {Role::Button, "news.example/"},
         deleteInSheet,
         {Role::Button, "+ Add Pattern"}},
        {"groups reordered elsewhere",
         rulesPage,
         {Role::CheckBox, kStudy},
         [](ScreenRig& rig, QWidget*, QWidget*) {
             auto groups = rig.rules.groups();
             std::reverse(groups.begin(), groups.end());
             rig.rules.setGroups(groups);
         },
         {Role::CheckBox, kStudy, false}},
        {"group deleted elsewhere",
         rulesPage,
         {Role::Button, kStudy},
         [](ScreenRig& rig, QWidget*, QWidget*) {
             const BlockRuleGroup study = group(rig, kStudy);
             rig.rules.deleteGroup(study);
         },
         {Role::Button, "Blocklist"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        ScreenRig rig;
        addStudyGroup(rig);
        QWidget* page = c.open(rig);
        QApplication::setActiveWindow(&rig.window);
        QWidget* start = find(page, c.start.role, c.start.name);
        ASSERT_NE(start, nullptr) << c.start.name.toStdString();
        start->setFocus(Qt::TabFocusReason);
        c.act(rig, page, start);
        test::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::setActiveWindow(&rig.window);
        const auto now = describe(QApplication::focusWidget());
        ASSERT_TRUE(now.has_value());
        EXPECT_EQ(now->role, c.after.role);
        EXPECT_EQ(now->name, c.after.name);
        EXPECT_TRUE(now->widget->isVisible());
        if (c.after.role == Role::CheckBox) {
            EXPECT_EQ(now->checked, c.after.checked);
        }
        // Tab still runs through the rows in the order they are shown.
        for (RowList* list : page->findChildren<RowList*>()) {
            std::vector<QWidget*> tabbed;
            for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
                const auto& rows = list->rows();
                if (std::find(rows.begin(), rows.end(), w) != rows.end()) {
                    tabbed.push_back(w);
                }
            }
            EXPECT_EQ(tabbed, list->rows());
        }
    }
}

} // namespace
} // namespace kivo
