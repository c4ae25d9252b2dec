#include "domain/BrightnessTriggerEvaluator.h"
#include "domain/DayOfWeekGroups.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kivo {
namespace {

using namespace BrightnessTriggerEvaluator;

BrightnessTrigger at(std::string name, std::int64_t minutes, bool appliesOnWake = false,
                     DaySet days = DayOfWeekGroups::allDays()) {
    return BrightnessTrigger(Uuid::random(), std::move(name), minutes, std::move(days), {}, true,
                             appliesOnWake);
}

std::string nameOf(const std::optional<BrightnessTrigger>& trigger) {
    return trigger ? trigger->name() : "none";
}

std::vector<BrightnessTrigger> enabledSeeds() {
    std::vector<BrightnessTrigger> seeds = BrightnessTrigger::makeDefaults("sunrise", "sunset");
    for (BrightnessTrigger& seed : seeds) {
        seed = seed.withIsEnabled(true);
    }
    return seeds;
}

TEST(BrightnessTriggerEvaluatorTest, DueTriggerIsTheLatestOfTheDaySoFar) {
    const auto seeds = enabledSeeds();
    struct Row {
        std::int64_t minute;
        const char* expected;
    };
    const Row rows[] = {{0, "none"},      {329, "none"},    {330, "sunrise"}, {1169, "sunrise"},
                        {1170, "sunset"}, {1439, "sunset"}, {-1, "none"}};
    for (DayOfWeek day : allDaysOfWeek()) {
        for (const Row& row : rows) {
            EXPECT_EQ(nameOf(dueTrigger(seeds, day, row.minute)), row.expected) << row.minute;
        }
    }
    // A seed left disabled is never chosen.
    EXPECT_EQ(nameOf(dueTrigger(BrightnessTrigger::makeDefaults("a", "b"), DayOfWeek::monday, 1439)), "none");
    EXPECT_EQ(nameOf(dueTrigger({}, DayOfWeek::monday, 1439)), "none");
}

TEST(BrightnessTriggerEvaluatorTest, OnlyEnabledTriggersOfThatDayPass) {
    const std::vector<BrightnessTrigger> triggers = {
        at("early", 300),
        at("weekend only", 600, false, DayOfWeekGroups::weekend()),
        at("disabled", 700).withIsEnabled(false),
        at("no days", 800, false, {}),
    };
    EXPECT_EQ(nameOf(dueTrigger(triggers, DayOfWeek::monday, 1439)), "early");
    EXPECT_EQ(nameOf(dueTrigger(triggers, DayOfWeek::sunday, 1439)), "weekend only");
    EXPECT_EQ(nameOf(crossedTrigger(triggers, DayOfWeek::monday, 0, 1439)), "early");
    EXPECT_EQ(nameOf(crossedTrigger(triggers, DayOfWeek::saturday, 0, 1439)), "weekend only");
}

TEST(BrightnessTriggerEvaluatorTest, EqualTimesGoToTheFirstInTheList) {
    const std::vector<BrightnessTrigger> triggers = {at("early", 100), at("first", 500), at("second", 500)};
    EXPECT_EQ(nameOf(dueTrigger(triggers, DayOfWeek::tuesday, 900)), "first");
    EXPECT_EQ(nameOf(crossedTrigger(triggers, DayOfWeek::tuesday, 499, 500)), "first");
    const std::vector<BrightnessTrigger> wake = {at("first", 500, true), at("second", 500, true)};
    EXPECT_EQ(nameOf(dueWakeTrigger(wake, DayOfWeek::tuesday, 900)), "first");
}

TEST(BrightnessTriggerEvaluatorTest, CrossedTriggerLiesAfterThePreviousMinuteUpToTheCurrent) {
    const auto seeds = enabledSeeds();
    struct Row {
        std::int64_t previous;
        std::int64_t current;
        const char* expected;
    };
    const Row rows[] = {
        {329, 330, "sunrise"},
        {330, 331, "none"},
        {300, 1200, "sunset"}, // delayed ticks: only the latest crossed time
        {300, 329, "none"},
        {1170, 1170, "none"},
        {1200, 300, "none"}, // backwards: empty range
        {-1, 1439, "sunset"},
        {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(), "sunset"},
        {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::max(), "none"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(nameOf(crossedTrigger(seeds, DayOfWeek::wednesday, row.previous, row.current)),
                  row.expected)
            << row.previous << ".." << row.current;
    }
}

TEST(BrightnessTriggerEvaluatorTest, WakeChoosesAmongTriggersThatApplyOnWake) {
    const std::vector<BrightnessTrigger> triggers = {
        at("morning", 420, true),
        at("noon", 720, false),
        at("evening off", 1080, true).withIsEnabled(false),
    };
    EXPECT_EQ(nameOf(dueWakeTrigger(triggers, DayOfWeek::thursday, 800)), "morning");
    EXPECT_EQ(nameOf(dueTrigger(triggers, DayOfWeek::thursday, 800)), "noon");
    EXPECT_EQ(nameOf(dueWakeTrigger(triggers, DayOfWeek::thursday, 1200)), "morning");
    EXPECT_EQ(nameOf(dueWakeTrigger(triggers, DayOfWeek::thursday, 419)), "none");
    EXPECT_EQ(nameOf(dueWakeTrigger({at("noon", 720, false)}, DayOfWeek::thursday, 800)), "none");
}

} // namespace
} // namespace kivo
