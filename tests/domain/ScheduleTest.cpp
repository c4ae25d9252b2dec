#include "TestJson.h"
#include "domain/BlockSchedule.h"
#include "domain/DayOfWeekGroups.h"

#include <gtest/gtest.h>

#include <vector>

namespace kivo {
namespace {

using test::json;

TEST(ScheduleTest, DayOfWeekFromRawValue) {
    EXPECT_FALSE(dayOfWeekFromRawValue(0));
    EXPECT_FALSE(dayOfWeekFromRawValue(8));
    EXPECT_FALSE(dayOfWeekFromRawValue(-1));
    EXPECT_EQ(dayOfWeekFromRawValue(1), DayOfWeek::sunday);
    EXPECT_EQ(dayOfWeekFromRawValue(7), DayOfWeek::saturday);
    EXPECT_LT(DayOfWeek::sunday, DayOfWeek::saturday);
    EXPECT_EQ(allDaysOfWeek().front(), DayOfWeek::sunday);
    EXPECT_EQ(DayOfWeekGroups::weekdays().size(), 5u);
    EXPECT_FALSE(DayOfWeekGroups::weekdays().contains(DayOfWeek::sunday));
    EXPECT_EQ(DayOfWeekGroups::weekend(), (DaySet{DayOfWeek::saturday, DayOfWeek::sunday}));
    EXPECT_EQ(DayOfWeekGroups::allDays().size(), 7u);
}

TEST(ScheduleTest, TimeWindowContains) {
    struct Case {
        TimeWindow window;
        std::int64_t minute;
        bool contained;
    };
    const std::vector<Case> cases = {
        {{600, 600}, 0, true},     {{600, 600}, 1439, true},   {{540, 1020}, 540, true},
        {{540, 1020}, 1019, true}, {{540, 1020}, 1020, false}, {{540, 1020}, 539, false},
        {{1320, 360}, 1320, true}, {{1320, 360}, 1439, true},  {{1320, 360}, 0, true},
        {{1320, 360}, 359, true},  {{1320, 360}, 360, false},  {{1320, 360}, 720, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.window.contains(c.minute), c.contained)
            << c.window.startMinute << "-" << c.window.endMinute << " @" << c.minute;
    }
}

TEST(ScheduleTest, RecurringAndBlockScheduleActivity) {
    const RecurringSchedule monday{{DayOfWeek::monday}, {{540, 1020}}};
    EXPECT_TRUE(monday.isActive(DayOfWeek::monday, 600));
    EXPECT_FALSE(monday.isActive(DayOfWeek::tuesday, 600));
    EXPECT_FALSE(monday.isActive(DayOfWeek::monday, 1020));
    const RecurringSchedule twoWindows{{DayOfWeek::monday}, {{0, 60}, {1380, 1380}}};
    EXPECT_TRUE(twoWindows.isActive(DayOfWeek::monday, 700)) << "a later whole-day window counts";
    EXPECT_FALSE((RecurringSchedule{{DayOfWeek::monday}, {}}).isActive(DayOfWeek::monday, 600));
    EXPECT_FALSE((RecurringSchedule{{}, {{0, 0}}}).isActive(DayOfWeek::monday, 600));

    for (const DayOfWeek day : allDaysOfWeek()) {
        for (const std::int64_t minute : {0, 720, 1439}) {
            EXPECT_TRUE(BlockSchedule::always().isActive(day, minute));
            EXPECT_EQ(BlockSchedule::recurring(monday).isActive(day, minute), monday.isActive(day, minute));
        }
    }

    EXPECT_TRUE((RecurringSchedule{DayOfWeekGroups::allDays(), {{5, 5}}}).isAllDayEveryDay());
    EXPECT_FALSE((RecurringSchedule{DayOfWeekGroups::weekdays(), {{0, 0}}}).isAllDayEveryDay());
    EXPECT_FALSE((RecurringSchedule{DayOfWeekGroups::allDays(), {{0, 0}, {1, 2}}}).isAllDayEveryDay());
    EXPECT_FALSE((RecurringSchedule{DayOfWeekGroups::allDays(), {{0, 10}}}).isAllDayEveryDay());
}

TEST(ScheduleTest, StoredFormRoundTrips) {
    const std::vector<BlockSchedule> schedules = {
        BlockSchedule::always(),
        BlockSchedule::recurring({DayOfWeekGroups::weekdays(), {{540, 1020}}}),
        BlockSchedule::recurring({{}, {}}),
        BlockSchedule::recurring({DayOfWeekGroups::allDays(), {{1320, 360}, {0, 0}, {-5, 99999}}}),
    };
    for (const auto& schedule : schedules) {
        const auto back = test::throughText(schedule);
        ASSERT_TRUE(back.ok()) << back.error();
        EXPECT_EQ(back.value(), schedule);
    }
    const auto encoded = BlockSchedule::recurring({{DayOfWeek::monday}, {{540, 1020}}}).toJson();
    EXPECT_EQ(encoded, json(R"({"recurring":{"_0":{"daysOfWeek":[2],"timeWindows":[
        {"startMinute":540,"endMinute":1020}]}}})"));
    EXPECT_EQ(BlockSchedule::always().toJson(), json(R"({"always":{}})"));
}

TEST(ScheduleTest, DecodingIsStrict) {
    struct Case {
        std::string text;
        bool ok;
    };
    const std::vector<Case> cases = {
        {R"({"always":{}})", true},
        {R"({"always":{"ignored":1},"extra":true})", true},
        {R"({"recurring":{"_0":{"daysOfWeek":[2,2,3],"timeWindows":[]}}})", true},
        {R"({"recurring":{"_0":{"daysOfWeek":[0],"timeWindows":[]}}})", false},
        {R"({"recurring":{"_0":{"daysOfWeek":[8],"timeWindows":[]}}})", false},
        {R"({"recurring":{"_0":{"daysOfWeek":[2],"timeWindows":[{"startMinute":1.5,"endMinute":2}]}}})",
         false},
        {R"({"recurring":{"_0":{"daysOfWeek":[2],"timeWindows":[{"startMinute":1}]}}})", false},
        {R"({"recurring":{"_0":{"timeWindows":[]}}})", false},
        {R"({"recurring":{}})", false},
        {R"({"recurring":{"_0":null}})", false},
        {R"({"always":[]})", false},
        {R"({"always":{},"recurring":{"_0":{"daysOfWeek":[],"timeWindows":[]}}})", false},
        {R"({})", false},
    };
    for (const auto& c : cases) {
        const auto r = BlockSchedule::fromJson(json(c.text));
        EXPECT_EQ(r.ok(), c.ok) << c.text << " -> " << r.error();
    }
    EXPECT_EQ(BlockSchedule::fromJson(json("{}")).error(), "Invalid number of keys found, expected one.");
    const auto collapsed =
        BlockSchedule::fromJson(json(R"({"recurring":{"_0":{"daysOfWeek":[2,2,3],"timeWindows":[]}}})"));
    EXPECT_EQ(collapsed.value().recurringSchedule()->daysOfWeek,
              (DaySet{DayOfWeek::monday, DayOfWeek::tuesday}));
}

TEST(ScheduleTest, EqualityIgnoresDayOrderButNotWindowOrder) {
    const auto a = BlockSchedule::fromJson(json(R"({"recurring":{"_0":{"daysOfWeek":[2,3,4],
        "timeWindows":[{"startMinute":1,"endMinute":2},{"startMinute":3,"endMinute":4}]}}})"));
    const auto b = BlockSchedule::fromJson(json(R"({"recurring":{"_0":{"daysOfWeek":[4,2,3],
        "timeWindows":[{"startMinute":1,"endMinute":2},{"startMinute":3,"endMinute":4}]}}})"));
    const auto swapped = BlockSchedule::fromJson(json(R"({"recurring":{"_0":{"daysOfWeek":[2,3,4],
        "timeWindows":[{"startMinute":3,"endMinute":4},{"startMinute":1,"endMinute":2}]}}})"));
    EXPECT_EQ(a.value(), b.value());
    EXPECT_NE(a.value(), swapped.value());
    EXPECT_NE(a.value(), BlockSchedule::always());
}

} // namespace
} // namespace kivo
