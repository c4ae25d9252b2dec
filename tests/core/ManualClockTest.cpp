#include "core/ManualClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace kivo {
namespace {

TEST(ManualClockTest, FiresTimersInDueOrderWithTheClockAtEachDueTime) {
    ManualClock clock;
    const double start = clock.now().secondsSinceReferenceDate;
    std::vector<std::string> fired;
    auto a = clock.createTimer();
    auto b = clock.createTimer();
    a->setCallback(
        [&] { fired.push_back("a@" + std::to_string(clock.now().secondsSinceReferenceDate - start)); });
    b->setSingleShot(true);
    b->setCallback(
        [&] { fired.push_back("b@" + std::to_string(clock.now().secondsSinceReferenceDate - start)); });
    a->start(1000ms);
    b->start(1500ms);
    clock.advance(3s);
    ASSERT_EQ(fired.size(), 4u);
    EXPECT_EQ(fired[0].substr(0, 3), "a@1");
    EXPECT_EQ(fired[1].substr(0, 3), "b@1");
    EXPECT_EQ(fired[2].substr(0, 3), "a@2");
    EXPECT_EQ(fired[3].substr(0, 3), "a@3");
    EXPECT_FALSE(b->isActive());
    EXPECT_DOUBLE_EQ(clock.now().secondsSinceReferenceDate - start, 3.0);
}

TEST(ManualClockTest, CallbackMayStopOrDestroyOtherTimers) {
    ManualClock clock;
    auto a = clock.createTimer();
    auto b = clock.createTimer();
    int bFired = 0;
    a->setSingleShot(true);
    a->setCallback([&] { b.reset(); });
    b->setCallback([&] { ++bFired; });
    a->start(100ms);
    b->start(200ms);
    clock.advance(1s);
    EXPECT_EQ(bFired, 0);
    EXPECT_EQ(clock.activeTimerCount(), 0);
}

TEST(ManualClockTest, LocalTimeUsesTheOffsetAndSundayIsOne) {
    struct Case {
        int offset;
        int y, mo, d, h, mi;
        int weekday, minute;
    };
    const Case cases[] = {
        {0, 2026, 1, 4, 0, 0, 1, 0},          // a Sunday at midnight
        {3600, 2026, 1, 10, 23, 59, 7, 1439}, // a Saturday, last minute
        {-18000, 2026, 3, 2, 12, 30, 2, 750}, // a Monday
    };
    for (const auto& c : cases) {
        ManualClock clock(Date{}, c.offset);
        clock.setLocal(c.y, c.mo, c.d, c.h, c.mi);
        const auto lt = clock.localTime();
        EXPECT_EQ(lt.weekday, c.weekday) << c.y << "-" << c.mo << "-" << c.d;
        EXPECT_EQ(lt.minuteOfDay, c.minute);
        EXPECT_EQ(lt.day, c.d);
    }
}

} // namespace
} // namespace kivo
