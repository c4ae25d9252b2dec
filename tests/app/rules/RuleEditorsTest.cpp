#include "app/language/LocalizedStrings.h"
#include "app/language/Localizer.h"
#include "app/rules/BlockRuleStore.h"
#include "app/rules/CharacterLimit.h"
#include "app/rules/DayOfWeekSelection.h"
#include "app/rules/GroupOrder.h"
#include "app/rules/GroupSettingsPresenter.h"
#include "app/rules/GroupSummary.h"
#include "app/rules/PatternEditPresenter.h"
#include "app/rules/ScheduleEditorModel.h"
#include "app/rules/UnlockPolicyEditorModel.h"
#include "core/ManualClock.h"
#include "domain/BlockRuleValidator.h"
#include "domain/DayOfWeekGroups.h"
#include "domain/RecurringSchedule.h"
#include "settings/MemoryDefaultsStore.h"

#include <gtest/gtest.h>

#include <optional>

namespace kivo {
namespace {

using VE = BlockRuleValidator::ValidationError;

std::string message(VE e) {
    return BlockRuleValidator::errorDescription(e);
}

struct StoreRig {
    ManualClock clock;
    MemoryDefaultsStore defaults;
    BlockRuleStore store{defaults, "Blocklist", clock};
    BlockRuleGroup group{Uuid::random(),
                         "Work",
                         true,
                         {BlockRule{Uuid::random(), "a.example/*", true, RuleAction::block,
                                    Url::parse("https://x.example/"), true}},
                         false,
                         BlockSchedule::always(),
                         UnlockPolicy::instant(),
                         Url::parse("https://focus.example/"),
                         std::nullopt};
    StoreRig() { store.addGroup(group); }
    const BlockRuleGroup& live() const { return store.groups().back(); }
};

TEST(CharacterLimitTest, CutsByUserPerceivedCharacters) {
    const struct {
        std::string text;
        std::size_t limit;
        std::string expected;
    } cases[] = {
        {"abcdef", 3, "abc"},
        {"ab", 3, "ab"},
        {"e\xCC\x81"
         "e\xCC\x81"
         "e",
         2,
         "e\xCC\x81"
         "e\xCC\x81"}, // accents stay on their letters
        {"\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD!", 1, "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"},
        {"\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5!", 2,
         "\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5"}, // flags count once
        {"\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"
         "a",
         1, "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"}, // a joined family
        {std::string(25, 'x'), 20, std::string(20, 'x')}, // a paste over the limit
        {"abc", 0, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(CharacterLimit::truncated(c.text, c.limit), c.expected) << c.text;
    }
}

TEST(GroupSettingsPresenterTest, SaveValidatesInOrderAndWritesOnlyAValidGroup) {
    const struct {
        const char* name;
        std::string groupName;
        bool custom;
        std::string url;
        std::optional<std::string> nameError;
        std::optional<std::string> urlError;
    } cases[] = {
        {"blank name", "  \t", true, "", message(VE::emptyGroupName), std::nullopt},
        {"empty URL", "Study", true, " ", std::nullopt, message(VE::emptyRedirectURL)},
        {"ftp URL", "Study", true, "ftp://x.example", std::nullopt, message(VE::invalidRedirectURL)},
        {"custom off ignores the text", "Study", false, "ftp://x", std::nullopt, std::nullopt},
        {"good", "  Study ", true, " https://ok.example/ ", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        StoreRig rig;
        GroupSettingsPresenter sheet(std::nullopt);
        sheet.setName(c.groupName);
        sheet.setUseCustomRedirect(c.custom);
        sheet.setRedirectURLString(c.url);
        const bool closed = sheet.save(rig.store);
        EXPECT_EQ(closed, !c.nameError && !c.urlError) << c.name;
        EXPECT_EQ(sheet.validationError(), c.nameError) << c.name;
        EXPECT_EQ(sheet.redirectURLError(), c.urlError) << c.name;
        EXPECT_EQ(sheet.showRedirectSection(), c.urlError.has_value()) << c.name;
        ASSERT_EQ(rig.store.groups().size(), closed ? 3u : 2u) << c.name;
        if (closed) {
            const auto& added = rig.store.groups().back();
            EXPECT_EQ(added.name, "Study");
            EXPECT_TRUE(added.isEnabled);
            EXPECT_TRUE(added.rules.empty());
            EXPECT_EQ(added.appendsQueryParameters, std::optional<bool>(true));
            EXPECT_EQ(added.redirectURL.has_value(), c.custom) << c.name;
        }
        // Typing clears the message of that field.
        sheet.setName("x");
        sheet.setRedirectURLString("y");
        EXPECT_FALSE(sheet.validationError() || sheet.redirectURLError()) << c.name;
    }
}

TEST(GroupSettingsPresenterTest, AnEditLandsOnTheStoredGroupAndNeverRevivesADeletedOne) {
    StoreRig rig;
    GroupSettingsPresenter sheet(rig.group);
    EXPECT_TRUE(sheet.useCustomRedirect());
    EXPECT_TRUE(sheet.appendsQueryParameters()); // absent reads as on
    // Meanwhile the group is switched off and loses its rule elsewhere.
    rig.store.setGroupEnabled(rig.group.id, false);
    rig.store.deleteRule(rig.group.id, rig.group.rules[0].id);
    sheet.setName("Deep work");
    sheet.setUseCustomRedirect(false);
    sheet.setUnlockPolicy(UnlockPolicy::waitToUnlock(30));
    ASSERT_TRUE(sheet.save(rig.store));
    EXPECT_EQ(rig.live().name, "Deep work");
    EXPECT_FALSE(rig.live().isEnabled);
    EXPECT_TRUE(rig.live().rules.empty());
    EXPECT_FALSE(rig.live().redirectURL.has_value());
    EXPECT_EQ(rig.live().appendsQueryParameters, std::optional<bool>(true));
    EXPECT_EQ(rig.live().unlockPolicy, UnlockPolicy::waitToUnlock(30));

    rig.store.deleteGroup(rig.live());
    EXPECT_TRUE(sheet.save(rig.store));
    EXPECT_EQ(rig.store.groups().size(), 1u);
    GroupSettingsPresenter seed(rig.store.groups()[0]);
    EXPECT_FALSE(seed.canDelete());
}

TEST(PatternEditPresenterTest, PreviewShowsTheStoredFormOnlyWhenItDiffers) {
    const struct {
        std::string typed;
        std::optional<std::string> preview;
        std::size_t count;
    } cases[] = {
        {"HTTPS://News.Example/a?x=1#f", "news.example/a", 28},
        {"  a.example/*  ", std::nullopt, 15},
        {"https://", std::nullopt, 8},
        {"", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        auto sheet = PatternEditPresenter::adding(Uuid::random(), RuleAction::block);
        sheet.setPattern(c.typed);
        EXPECT_EQ(sheet.normalizationPreview(), c.preview) << c.typed;
        EXPECT_EQ(sheet.patternLength(), c.count) << c.typed;
    }
    auto sheet = PatternEditPresenter::adding(Uuid::random(), RuleAction::block);
    sheet.setPattern(std::string(130, 'a'));
    EXPECT_EQ(sheet.patternLength(), 120u);
}

TEST(PatternEditPresenterTest, SaveValidatesThenAppendsOrEditsInPlace) {
    const struct {
        const char* name;
        RuleAction action;
        std::string pattern;
        bool override_;
        std::string url;
        std::optional<std::string> patternError;
        std::optional<std::string> urlError;
    } cases[] = {
        {"scheme only", RuleAction::block, "https://", false, "", message(VE::emptyPattern), std::nullopt},
        {"too broad", RuleAction::block, "*.*", false, "", message(VE::tooBroadPattern), std::nullopt},
        {"tld only", RuleAction::block, "*.com", false, "", message(VE::tldOnlyPattern), std::nullopt},
        {"empty override", RuleAction::block, "b.example", true, "", std::nullopt,
         message(VE::emptyRedirectURL)},
        {"allow ignores override", RuleAction::allow, "b.example", true, "", std::nullopt, std::nullopt},
        {"word", RuleAction::block, "Video", false, "", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        StoreRig rig;
        auto sheet = PatternEditPresenter::adding(rig.group.id, c.action);
        sheet.setPattern(c.pattern);
        sheet.setOverrideRedirect(c.override_);
        sheet.setRedirectURLString(c.url);
        const bool closed = sheet.save(rig.store);
        EXPECT_EQ(sheet.validationError(), c.patternError) << c.name;
        EXPECT_EQ(sheet.redirectURLError(), c.urlError) << c.name;
        ASSERT_EQ(rig.live().rules.size(), closed ? 2u : 1u) << c.name;
        if (closed) {
            const auto& added = rig.live().rules.back();
            EXPECT_TRUE(added.isEnabled);
            EXPECT_EQ(added.action, c.action);
            EXPECT_FALSE(added.redirectURL || added.appendsQueryParameters) << c.name;
        }
    }
}

TEST(PatternEditPresenterTest, AnEditKeepsASwitchFlippedMeanwhileAndIgnoresADeletedRule) {
    StoreRig rig;
    const BlockRule opened = rig.group.rules[0];
    auto sheet = PatternEditPresenter::editing(rig.group.id, opened);
    EXPECT_TRUE(sheet.overrideRedirect());
    rig.store.setRuleEnabled(rig.group.id, opened.id, false);
    sheet.setPattern("HTTP://B.example/");
    sheet.setOverrideRedirect(false);
    ASSERT_TRUE(sheet.save(rig.store));
    ASSERT_EQ(rig.live().rules.size(), 1u);
    const BlockRule& saved = rig.live().rules[0];
    EXPECT_EQ(saved.id, opened.id);
    EXPECT_FALSE(saved.isEnabled);
    EXPECT_EQ(saved.pattern, "b.example/");
    EXPECT_FALSE(saved.redirectURL || saved.appendsQueryParameters);

    sheet.confirmDelete(rig.store);
    EXPECT_TRUE(rig.live().rules.empty());
    const auto before = rig.store.groups();
    EXPECT_TRUE(sheet.save(rig.store)); // closes, writes nothing
    EXPECT_EQ(rig.store.groups(), before);

    // An append flag without a URL opens with the override on and cannot be saved as it is.
    auto odd = PatternEditPresenter::editing(rig.group.id, opened.withRedirectURL(std::nullopt));
    odd.setPattern("c.example");
    EXPECT_FALSE(odd.save(rig.store));
    EXPECT_EQ(odd.redirectURLError(), message(VE::emptyRedirectURL));
}

TEST(ScheduleEditorModelTest, EditsRoundTripWholeSchedules) {
    ScheduleEditorModel always(BlockSchedule::always());
    const auto weekdays9to5 =
        BlockSchedule::recurring(RecurringSchedule{DayOfWeekGroups::weekdays(), {{540, 1020}}});
    EXPECT_EQ(always.schedule(), BlockSchedule::always());
    EXPECT_EQ(always.setAlways(false), weekdays9to5);
    always.setSelectedDays({DayOfWeek::sunday});
    always.addTimeWindow();
    EXPECT_EQ(always.setAlways(true), BlockSchedule::always());
    EXPECT_EQ(always.setAlways(false),
              BlockSchedule::recurring(RecurringSchedule{{DayOfWeek::sunday}, {{540, 1020}, {540, 1020}}}));

    ScheduleEditorModel three(
        BlockSchedule::recurring(RecurringSchedule{{}, {{0, 0}, {60, 120}, {180, 240}}}));
    EXPECT_EQ(three.removeTimeWindow(1),
              BlockSchedule::recurring(RecurringSchedule{{}, {{0, 0}, {180, 240}}}));
    EXPECT_EQ(three.setWindowStart(1, 1425),
              BlockSchedule::recurring(RecurringSchedule{{}, {{0, 0}, {1425, 240}}}));
    EXPECT_EQ(three.setWindowEnd(9, 5), three.schedule()); // an index gone is ignored
    three.addTimeWindow();
    three.addTimeWindow();
    EXPECT_FALSE(three.canAddTimeWindow());
    EXPECT_EQ(three.timeWindows().size(), 4u);
}

TEST(UnlockPolicyEditorModelTest, OpensFromEachPolicyAndWritesWholePolicies) {
    using T = UnlockPolicyEditorModel::PolicyType;
    using R = UnlockPolicyEditorModel::ResetIntervalChoice;
    const struct {
        UnlockPolicy in;
        T type;
        std::int64_t wait;
        R reset;
    } opens[] = {
        {UnlockPolicy::instant(), T::instant, 10, R::day1},
        {UnlockPolicy::waitToUnlock(7), T::wait, 7, R::day1},
        {UnlockPolicy::waitWithBackoff(30, ResetInterval::hours(72)), T::backoff, 10, R::days3},
        {UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(48)), T::backoff, 10, R::day1},
        {UnlockPolicy::waitWithBackoff(5, ResetInterval::never()), T::backoff, 10, R::never},
    };
    for (const auto& c : opens) {
        UnlockPolicyEditorModel model(c.in);
        EXPECT_EQ(model.selectedType(), c.type);
        EXPECT_EQ(model.waitSeconds(), c.wait);
        EXPECT_EQ(model.resetInterval(), c.reset);
    }
    UnlockPolicyEditorModel model(UnlockPolicy::waitWithBackoff(30, ResetInterval::hours(72)));
    EXPECT_EQ(model.setResetInterval(R::week1), UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(168)));
    EXPECT_EQ(model.setSelectedType(T::wait), UnlockPolicy::waitToUnlock(10));
    EXPECT_EQ(model.setSelectedType(T::backoff), UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(168)));
    EXPECT_EQ(model.setSelectedType(T::instant), UnlockPolicy::instant());

    // Choosing what is already chosen writes nothing, so a stored base other than 5 survives it.
    UnlockPolicyEditorModel stored(UnlockPolicy::waitWithBackoff(30, ResetInterval::hours(72)));
    EXPECT_EQ(stored.setSelectedType(T::backoff), std::nullopt);
    EXPECT_EQ(stored.setResetInterval(R::days3), std::nullopt);
    EXPECT_EQ(UnlockPolicyEditorModel(UnlockPolicy::waitToUnlock(20)).setWaitSeconds(20), std::nullopt);
    EXPECT_EQ(ScheduleEditorModel(BlockSchedule::always()).setAlways(true), std::nullopt);
}

TEST(DayOfWeekSelectionTest, NeverRemovesTheLastDay) {
    using D = DayOfWeek;
    const struct {
        DaySet before;
        D tap;
        std::optional<DaySet> after;
    } cases[] = {
        {{D::wednesday}, D::wednesday, std::nullopt},
        {{D::wednesday}, D::thursday, DaySet{D::wednesday, D::thursday}},
        {{}, D::monday, DaySet{D::monday}},
        {{D::sunday, D::monday}, D::monday, DaySet{D::sunday}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DayOfWeekSelection::toggled(c.before, c.tap), c.after);
    }
    EXPECT_EQ(DayOfWeekSelection::dayOrder().front(), D::monday);
    EXPECT_EQ(DayOfWeekSelection::dayOrder().back(), D::sunday);
}

TEST(GroupOrderTest, MovesLikeAListAndSizesTheList) {
    std::vector<BlockRuleGroup> groups;
    for (const char* name : {"a", "b", "c", "d"}) {
        groups.push_back(BlockRuleGroup{Uuid::random(), name, true, {}, false, {}, {}, {}, {}});
    }
    auto names = [](const std::vector<BlockRuleGroup>& gs) {
        std::string s;
        for (const auto& g : gs) {
            s += g.name;
        }
        return s;
    };
    const struct {
        std::set<std::size_t> source;
        std::size_t destination;
        const char* expected;
    } cases[] = {{{0}, 2, "bacd"}, {{3}, 0, "dabc"}, {{0, 2}, 4, "bdac"}, {{1}, 1, "abcd"}, {{1}, 2, "abcd"}};
    for (const auto& c : cases) {
        EXPECT_EQ(names(GroupOrder::moved(groups, c.source, c.destination)), c.expected) << c.expected;
    }
    const std::pair<std::size_t, int> heights[] = {{1, 52}, {2, 84}, {10, 340}, {15, 340}};
    for (const auto& [count, height] : heights) {
        EXPECT_EQ(GroupOrder::listHeight(count), height) << count;
    }
}

TEST(GroupSummaryTest, JoinsScheduleUnlockAndRedirect) {
    Localizer localizer;
    const auto en = LanguagePreference::english();
    auto t = [&](const LocalizedString& s) { return localizer.text(s, en); };
    namespace S = Strings::Schedule::Summary;
    const QString dot = QStringLiteral(" \u00B7 ");
    auto recurring = [](DaySet days, std::vector<TimeWindow> windows) {
        return BlockSchedule::recurring(RecurringSchedule{std::move(days), std::move(windows)});
    };
    const struct {
        BlockSchedule schedule;
        UnlockPolicy policy;
        bool redirect;
        QString expected;
    } cases[] = {
        {BlockSchedule::always(), UnlockPolicy::instant(), false,
         t(S::always()) + dot + t(Strings::Unlock::Summary::instant())},
        {recurring(DayOfWeekGroups::allDays(), {{0, 0}}), UnlockPolicy::waitToUnlock(10), false,
         t(S::always()) + dot + t(Strings::Unlock::Summary::wait(10))},
        {recurring(DayOfWeekGroups::weekdays(), {{540, 720}, {780, 1020}}),
         UnlockPolicy::waitWithBackoff(5, {}), true,
         t(S::weekdays()) + " 9:00-12:00 " + t(Strings::RuleDetail::Summary::timeWindowMore()) + dot +
             t(Strings::Unlock::Summary::backoff(5)) + dot + t(Strings::RuleDetail::Summary::redirect())},
        {recurring({DayOfWeek::wednesday, DayOfWeek::sunday}, {{1320, 360}}), UnlockPolicy::instant(), false,
         t(Strings::Domain::DayShort::sunday()) + "," + t(Strings::Domain::DayShort::wednesday()) +
             " 22:00-6:00" + dot + t(Strings::Unlock::Summary::instant())},
        {recurring({}, {{545, 1050}}), UnlockPolicy::instant(), false,
         t(S::none()) + " 9:05-17:30" + dot + t(Strings::Unlock::Summary::instant())},
        {recurring(DayOfWeekGroups::weekend(), {}), UnlockPolicy::instant(), false,
         t(S::weekends()) + dot + t(Strings::Unlock::Summary::instant())},
    };
    for (const auto& c : cases) {
        const BlockRuleGroup group{
            Uuid::random(), "G",
            true,           {},
            false,          c.schedule,
            c.policy,       c.redirect ? Url::parse("https://r.example/") : std::nullopt,
            std::nullopt};
        EXPECT_EQ(GroupSummary::text(group, localizer, en), c.expected);
    }
}

} // namespace
} // namespace kivo
