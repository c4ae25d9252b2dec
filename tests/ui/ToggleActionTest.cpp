// What an assistive tool's Toggle and Press actions do to every checkable control of the window and its
// sheets: what a click does, and every control shows what its model holds afterwards.
#include "AccessibleControls.h"
#include "ScreenRig.h"

#include "app/rules/DayOfWeekSelection.h"
#include "app/rules/PatternEditPresenter.h"
#include "ui/brightness/BrightnessTriggerPage.h"
#include "ui/brightness/BrightnessTriggerSheet.h"
#include "ui/more/MorePage.h"
#include "ui/rules/GroupSettingsSheet.h"
#include "ui/rules/PatternEditSheet.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/rules/RulesPage.h"
#include "ui/rules/ScheduleEditor.h"

#include <gtest/gtest.h>

#include <map>

namespace kivo {
namespace {

using test::ScreenRig;
using Group = GroupSettingsSheet;
using Trigger = BrightnessTriggerSheet;
using Pattern = PatternEditSheet;
using Detail = RuleDetailPage;
using Kind = UnlockPolicy::Kind;
// What a control should show: what the store, the login item or its surface (a sheet's presenter) holds.
using Model = std::function<bool(ScreenRig&, QWidget* surface)>;

struct Row {
    std::string surface, control; // the control by its accessible name
    Model model;
    bool after;          // what the model holds once the action is done
    bool shield = false; // whether the action asked the shield to count down
};

// A copy of the seed group (on, instant, its patterns off) behind a 30-second wait.
const BlockRuleGroup& waiting(ScreenRig& rig) {
    if (rig.rules.groups().size() == 1) {
        BlockRuleGroup group = rig.rules.groups().front().withName("Waiting");
        group.id = Uuid::random();
        group.isDefault = false;
        group.unlockPolicy = UnlockPolicy::waitToUnlock(30);
        group.rules = {{Uuid::random(), "*news.example/*", true, RuleAction::block, {}, {}},
                       {Uuid::random(), "*video.example/*", false, RuleAction::block, {}, {}}};
        rig.rules.addGroup(group);
    }
    return rig.rules.groups().back();
}

const std::map<std::string, std::function<QWidget*(ScreenRig&)>> surfaces{
    {"rules", [](ScreenRig& r) { return new RulesPage(r.context, &r.window); }},
    {"group", [](ScreenRig& r) { return new Detail(r.context, waiting(r).id, &r.window); }},
    {"display", [](ScreenRig& r) { return new BrightnessTriggerPage(r.context, &r.window); }},
    {"more", [](ScreenRig& r) { return new MorePage(r.context, &r.window); }},
    {"trigger", [](ScreenRig& r) { return new Trigger(r.context, r.triggers.triggers()[0], &r.window); }},
    {"settings", [](ScreenRig& r) { return new Group(r.context, waiting(r), &r.window); }},
    {"pattern", [](ScreenRig& r) {
         return new Pattern(r.context, PatternEditPresenter::editing(waiting(r).id, waiting(r).rules[0]),
                            &r.window);
     }}};

template <class Surface> Model of(std::function<bool(const Surface&)> holds) {
    return [holds](ScreenRig&, QWidget* surface) { return holds(*static_cast<Surface*>(surface)); };
}
template <class Sheet, class Read> Model held(Read read) {
    return [read](ScreenRig&, QWidget* sheet) { return read(static_cast<Sheet*>(sheet)->presenter()); };
}

std::vector<Row> rows(ScreenRig& rig) {
    waiting(rig);
    std::vector<Row> all{
        {"rules", "Blocklist", [](auto& r, auto) { return r.rules.groups()[0].isEnabled; }, false},
        {"rules", "Waiting", [](auto& r, auto) { return waiting(r).isEnabled; }, true, true},
        {"group", "Waiting", [](auto& r, auto) { return waiting(r).isEnabled; }, true, true},
        {"group", "news.example/", [](auto& r, auto) { return waiting(r).rules[0].isEnabled; }, true, true},
        {"group", "video.example/", [](auto& r, auto) { return waiting(r).rules[1].isEnabled; }, true},
        {"group", "Block", of<Detail>([](auto& p) { return p.selectedTab() == RuleAction::block; }), true},
        {"group", "Allow", of<Detail>([](auto& p) { return p.selectedTab() == RuleAction::allow; }), true},
        {"display", "Sunrise", [](auto& r, auto) { return r.triggers.triggers()[0].isEnabled(); }, true},
        {"display", "Sunset", [](auto& r, auto) { return r.triggers.triggers()[1].isEnabled(); }, true},
        {"more", "Start Kivo at login", [](auto& r, auto) { return r.loginItem.isEnabled(); }, true},
        {"trigger", "Also apply on wake", held<Trigger>([](auto& p) { return p.appliesOnWake(); }), true},
        {"trigger", "Every Day", held<Trigger>([](auto& p) { return p.isDaily(); }), true},
        {"trigger", "By Day", held<Trigger>([](auto& p) { return !p.isDaily(); }), true},
        {"settings", "Always", held<Group>([](auto& p) { return p.schedule().isAlways(); }), true},
        {"settings", "Recurring", held<Group>([](auto& p) { return !p.schedule().isAlways(); }), true},
        {"settings", "Instant", held<Group>([](auto& p) { return p.unlockPolicy().kind() == Kind::instant; }),
         true},
        {"settings", "Wait",
         held<Group>([](auto& p) { return p.unlockPolicy().kind() == Kind::waitToUnlock; }), true},
        {"settings", "Backoff",
         held<Group>([](auto& p) { return p.unlockPolicy().kind() == Kind::waitWithBackoff; }), true},
        {"settings", "Redirect", held<Group>([](auto& p) { return p.showRedirectSection(); }), true},
        {"settings", "Include the blocked URL",
         held<Group>([](auto& p) { return p.appendsQueryParameters(); }), false},
        {"settings", "Use a custom redirect URL", held<Group>([](auto& p) { return p.useCustomRedirect(); }),
         true},
        {"pattern", "Redirect", held<Pattern>([](auto& p) { return p.showRedirectSection(); }), true},
        {"pattern", "Include the blocked URL",
         held<Pattern>([](auto& p) { return p.appendsQueryParameters(); }), true},
        {"pattern", "Use its own redirect", held<Pattern>([](auto& p) { return p.overrideRedirect(); }),
         true}};
    // The day buttons, shown or not: each weekday is chosen, so the action takes it away; weekend days join.
    for (const DayOfWeek day : DayOfWeekSelection::dayOrder()) {
        const std::string name = rig.context.text(DayOfWeekSelection::fullName(day)).toStdString();
        const bool weekend = day == DayOfWeek::saturday || day == DayOfWeek::sunday;
        const auto schedule = [day](auto& s) {
            return s.scheduleEditor()->model().selectedDays().count(day) == 1;
        };
        all.push_back({"trigger", name,
                       held<Trigger>([day](auto& p) { return p.selectedDays().count(day) == 1; }), weekend});
        all.push_back({"settings", name, of<Group>(schedule), weekend});
    }
    return all;
}

// The checkable controls of `surface` by name, another mode's hidden ones too.
std::map<std::string, QAccessibleInterface*> checkables(QWidget* surface) {
    std::map<std::string, QAccessibleInterface*> found;
    for (const test::Control& control : test::focusable(surface, test::HiddenParts::included)) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control.widget);
        if (node != nullptr && node->state().checkable) {
            found[control.name.toStdString()] = node;
        }
    }
    return found;
}

TEST(ToggleAction, EveryCheckableControlDoesWhatAClickDoesAndShowsWhatItsModelHolds) {
    ScreenRig probe;
    for (const QString& action :
         {QAccessibleActionInterface::toggleAction(), QAccessibleActionInterface::pressAction()}) {
        for (std::size_t i = 0; i < rows(probe).size(); ++i) {
            ScreenRig rig;
            const auto table = rows(rig);
            const Row& row = table[i];
            SCOPED_TRACE(action.toStdString() + " " + row.surface + ": " + row.control);
            QWidget* surface = surfaces.at(row.surface)(rig);
            surface->show();
            test::processEvents();
            QAccessibleInterface* control = checkables(surface)[row.control];
            ASSERT_NE(control, nullptr);
            control->actionInterface()->doAction(action);
            test::processEvents();
            EXPECT_EQ(row.model(rig, surface), row.after);
            EXPECT_EQ(rig.shield.isShown(), row.shield);
            std::map<std::string, bool> shown, held;
            for (const auto& [name, node] : checkables(surface)) {
                shown[name] = node->state().checked;
                for (const Row& each : table) {
                    if (each.surface == row.surface && each.control == name) {
                        held[name] = each.model(rig, surface);
                    }
                }
            }
            EXPECT_EQ(shown, held);
        }
    }
}

} // namespace
} // namespace kivo
