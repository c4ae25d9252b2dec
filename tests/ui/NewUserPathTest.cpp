#include "ScreenRig.h"

#include "app/language/LanguagePreferenceStore.h"
#include "domain/DayOfWeekGroups.h"
#include "domain/RecurringSchedule.h"
#include "ui/brightness/BrightnessTriggerPage.h"
#include "ui/brightness/BrightnessTriggerSheet.h"
#include "ui/more/MorePage.h"
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
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace kivo {
namespace {

// The groups as the defaults database holds them now, decoded as the next launch would.
std::vector<BlockRuleGroup> storedGroups(const DefaultsStore& defaults) {
    std::vector<BlockRuleGroup> groups;
    const auto value = defaults.value(BlockRuleStore::groupsKey);
    if (!value) {
        return groups;
    }
    for (const auto& element : *value) {
        const auto group = BlockRuleGroup::fromJson(element);
        EXPECT_TRUE(group.ok());
        if (group.ok()) {
            groups.push_back(group.value());
        }
    }
    return groups;
}

void type(QLineEdit* field, const QString& text) {
    field->setText(text);
    emit field->textEdited(text);
}

TEST(NewUserPathTest, EachStepIsInTheStoredDocument) {
    test::ScreenRig rig;
    RulesPage rules(rig.context, &rig.window);
    rules.show();

    // A new group.
    auto* add = static_cast<GroupSettingsSheet*>(rules.openAddSheet());
    type(add->nameField(), QStringLiteral("  Focus "));
    add->saveButton()->click();
    auto stored = storedGroups(rig.defaults);
    ASSERT_EQ(stored.size(), 2u);
    const Uuid focus = stored[1].id;
    EXPECT_EQ(stored[1].name, "Focus");
    EXPECT_TRUE(stored[1].isEnabled);
    test::processEvents();

    // Two patterns, one on each tab.
    RuleDetailPage* page = rules.openGroup(focus);
    auto* first = static_cast<PatternEditSheet*>(page->openAddSheet());
    first->typePattern(QStringLiteral("https://News.example/today?x=1"));
    test::pressKey(first, Qt::Key_Return);
    page->setSelectedTab(RuleAction::allow);
    test::processEvents();
    auto* second = static_cast<PatternEditSheet*>(page->openAddSheet());
    second->typePattern(QStringLiteral("news.example/weather"));
    second->saveButton()->click();
    stored = storedGroups(rig.defaults);
    ASSERT_EQ(stored[1].rules.size(), 2u);
    EXPECT_EQ(stored[1].rules[0].pattern, "news.example/today");
    EXPECT_EQ(stored[1].rules[0].action, RuleAction::block);
    EXPECT_EQ(stored[1].rules[1].action, RuleAction::allow);
    test::processEvents();

    // A weekday schedule and a backoff policy.
    auto* settings = static_cast<GroupSettingsSheet*>(page->openSettingsSheet());
    settings->scheduleEditor()->recurringButton()->click();
    settings->unlockEditor()->typeButton(UnlockPolicyEditorModel::PolicyType::backoff)->click();
    settings->saveButton()->click();
    stored = storedGroups(rig.defaults);
    EXPECT_EQ(stored[1].schedule,
              BlockSchedule::recurring(RecurringSchedule{DayOfWeekGroups::weekdays(), {{540, 1020}}}));
    EXPECT_EQ(stored[1].unlockPolicy, UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(24)));
    EXPECT_EQ(stored[1].rules.size(), 2u);
    test::processEvents();

    // Switching the group off waits for the shield's countdown.
    page->card()->groupSwitch()->click();
    EXPECT_TRUE(rig.shield.isShown());
    EXPECT_TRUE(storedGroups(rig.defaults)[1].isEnabled);
    for (int i = 0; i < 5; ++i) {
        rig.clock.advance(std::chrono::seconds(1));
    }
    EXPECT_FALSE(rig.shield.isShown());
    EXPECT_FALSE(storedGroups(rig.defaults)[1].isEnabled);
    test::processEvents();

    // The new group goes first.
    auto* reorder = static_cast<GroupReorderSheet*>(rules.openReorderSheet());
    reorder->moveGroups({1}, 0);
    reorder->accept();
    stored = storedGroups(rig.defaults);
    EXPECT_EQ(stored[0].id, focus);
    EXPECT_EQ(stored[0].name, "Focus");

    // A brightness trigger, previewed while it is made.
    BrightnessTriggerPage display(rig.context, &rig.window);
    auto* trigger = static_cast<BrightnessTriggerSheet*>(display.openAddSheet());
    type(trigger->nameField(), QStringLiteral("Evening"));
    trigger->sliders("Studio").front()->setValue(6);
    EXPECT_TRUE(rig.brightness.isPreviewing());
    trigger->saveButton()->click();
    EXPECT_FALSE(rig.brightness.isPreviewing());
    const auto triggers =
        BrightnessTrigger::decodeList(*rig.defaults.value(BrightnessTriggerStore::kDefaultsKey));
    ASSERT_TRUE(triggers.ok());
    ASSERT_EQ(triggers.value().size(), 3u);
    EXPECT_EQ(triggers.value()[2].name(), "Evening");
    EXPECT_DOUBLE_EQ(triggers.value()[2].displayBrightness().at("Studio"), 0.3);
    EXPECT_DOUBLE_EQ(triggers.value()[2].displayBrightness().at("Built-in"), 1.0);

    // The language.
    MorePage more(rig.context, &rig.window);
    emit more.languagePicker()->activated(4);
    test::processEvents();
    EXPECT_EQ(LanguagePreferenceStore(rig.defaults).load(), LanguagePreference::traditionalChinese());
}

} // namespace
} // namespace kivo
