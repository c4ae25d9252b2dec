#include "app/brightness/FakeBrightnessBackend.h"

#include "app/brightness/BrightnessController.h"
#include "brightness-library/SystemDisplayBrightnessBackend.h"
#include "core/ManualClock.h"
#include "domain/DayOfWeekGroups.h"
#include "platform/simulated/SimulatedDdcMonitor.h"
#include "platform/simulated/SimulatedDisplays.h"
#include "platform/simulated/SimulatedI2CTransport.h"
#include "platform/simulated/SimulatedSleepClock.h"
#include "platform/simulated/SimulatedSystemEvents.h"
#include "settings/MemoryDefaultsStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <limits>

namespace kivo {
namespace {

using namespace std::chrono_literals;
using Sets = std::vector<test::FakeBrightnessBackend::Set>;

constexpr std::uint32_t kLeft = 1;
constexpr std::uint32_t kRight = 2;

BrightnessTrigger trigger(std::int64_t minutes, double level, bool onWake = false, bool enabled = true,
                          DaySet days = DayOfWeekGroups::allDays()) {
    return BrightnessTrigger(Uuid::random(), "T", minutes, std::move(days), {{"Left", level}}, enabled,
                             onWake);
}

// 2026-01-05 is a Monday.
struct ControllerRig {
    ManualClock clock;
    std::shared_ptr<test::FakeBrightnessBackend> backend = std::make_shared<test::FakeBrightnessBackend>();
    SimulatedSystemEvents events;
    MemoryDefaultsStore defaults;
    std::unique_ptr<BrightnessTriggerStore> store;
    BrightnessController controller{backend, clock, clock, events, events};

    ControllerRig(std::vector<BrightnessTrigger> triggers, int hour, int minute) {
        backend->setDisplays({{kLeft, false, "Left"}, {kRight, false, "Right"}});
        store = std::make_unique<BrightnessTriggerStore>(defaults, "Sunrise", "Sunset", std::move(triggers));
        clock.setLocal(2026, 1, 5, hour, minute);
    }

    // Levels set since the last call, once every set has arrived. Displays are set in parallel, so only the
    // order per display is kept.
    Sets applied() {
        EXPECT_TRUE(test::waitUntil([&] { return !controller.isApplying(); }));
        auto sets = backend->sets();
        backend->clear();
        std::stable_sort(sets.begin(), sets.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        return sets;
    }
    void minutes(int count) {
        for (int i = 0; i < count; ++i) {
            clock.advance(60s);
        }
    }
};

TEST(BrightnessControllerTest, StartAppliesOnlyATriggerMarkedForWake) {
    struct Case {
        const char* name;
        std::vector<BrightnessTrigger> triggers;
        Sets expected;
    };
    const Case cases[] = {
        {"due without wake flag waits", {trigger(8 * 60, 0.8)}, {}},
        {"due with wake flag", {trigger(7 * 60, 0.7, true), trigger(8 * 60, 0.8)}, {{kLeft, 0.7f}}},
        {"wake trigger later today is not due", {trigger(10 * 60, 0.9, true)}, {}},
        {"disabled wake trigger", {trigger(7 * 60, 0.7, true, false)}, {}},
        {"wake trigger of another day", {trigger(7 * 60, 0.7, true, true, {DayOfWeek::tuesday})}, {}},
    };
    for (const auto& c : cases) {
        ControllerRig rig(c.triggers, 9, 0);
        rig.controller.start(rig.store.get());
        EXPECT_EQ(rig.applied(), c.expected) << c.name;
        EXPECT_EQ(rig.controller.lastEvaluatedMinute(), 540) << c.name;
        EXPECT_EQ(rig.controller.lastEvaluatedDay(), DayOfWeek::monday) << c.name;
    }
}

TEST(BrightnessControllerTest, AMinuteTickFiresATriggerOnceWhenItsTimeIsPassed) {
    ControllerRig rig({trigger(8 * 60, 0.8)}, 7, 58);
    rig.controller.start(rig.store.get());
    struct Step {
        const char* at;
        Sets expected;
    };
    const Step steps[] = {{"07:59", {}}, {"08:00", {{kLeft, 0.8f}}}, {"08:01", {}}, {"08:02", {}}};
    for (const auto& step : steps) {
        rig.minutes(1);
        EXPECT_EQ(rig.applied(), step.expected) << step.at;
    }
}

TEST(BrightnessControllerTest, NothingFiresAcrossMidnight) {
    ControllerRig rig({trigger(0, 0.1), trigger(1439, 0.9, false, true, {DayOfWeek::sunday})}, 23, 58);
    rig.controller.start(rig.store.get());
    rig.minutes(1); // 23:59 Monday
    rig.minutes(1); // 00:00 Tuesday: a new day only records
    rig.minutes(1); // 00:01
    EXPECT_EQ(rig.applied(), Sets{});
    EXPECT_EQ(rig.controller.lastEvaluatedDay(), DayOfWeek::tuesday);
    EXPECT_EQ(rig.controller.lastEvaluatedMinute(), 1);
}

TEST(BrightnessControllerTest, ALateTickAppliesOnlyTheLatestTriggerPassed) {
    ControllerRig rig({trigger(8 * 60, 0.8), trigger(8 * 60 + 5, 0.85), trigger(9 * 60, 0.9)}, 7, 59);
    rig.controller.start(rig.store.get());
    rig.clock.setLocal(2026, 1, 5, 8, 6); // the machine was busy; the next tick comes late
    rig.minutes(1);
    EXPECT_EQ(rig.applied(), (Sets{{kLeft, 0.85f}}));
}

TEST(BrightnessControllerTest, WakeIsDebouncedForFiveSeconds) {
    struct Case {
        std::chrono::milliseconds gap;
        int evaluations;
    };
    for (const auto& c : {Case{3000ms, 1}, Case{4999ms, 1}, Case{5000ms, 2}, Case{20000ms, 2}}) {
        ControllerRig rig({trigger(7 * 60, 0.7, true)}, 9, 0);
        rig.controller.start(rig.store.get());
        rig.applied();
        rig.clock.advance(10s);
        rig.events.wake();
        auto sets = rig.applied();
        rig.clock.advance(c.gap);
        rig.events.wake();
        const auto more = rig.applied();
        sets.insert(sets.end(), more.begin(), more.end());
        EXPECT_EQ(static_cast<int>(sets.size()), c.evaluations) << c.gap.count();
    }
}

TEST(BrightnessControllerTest, AWallClockSetBackDoesNotSilenceWake) {
    ControllerRig rig({trigger(7 * 60, 0.7, true)}, 9, 0);
    rig.controller.start(rig.store.get());
    rig.applied();
    rig.clock.setLocal(2026, 1, 5, 8, 0);
    rig.events.wake();
    EXPECT_EQ(rig.applied(), (Sets{{kLeft, 0.7f}}));
}

TEST(BrightnessControllerTest, PreviewingFreezesEveryAutomaticEvaluation) {
    ControllerRig rig({trigger(8 * 60, 0.8, true)}, 7, 58);
    rig.controller.start(rig.store.get());
    rig.applied();
    rig.controller.preview({{"Left", 0.3}, {"Right", 0.4}});
    EXPECT_TRUE(rig.controller.isPreviewing());
    EXPECT_EQ(rig.applied(), (Sets{{kLeft, 0.3f}, {kRight, 0.4f}}));

    rig.minutes(3); // 08:00 passes
    rig.clock.advance(10s);
    rig.events.wake();
    rig.controller.applyCurrentTrigger();
    EXPECT_EQ(rig.applied(), Sets{});
    EXPECT_EQ(rig.controller.lastEvaluatedMinute(), 7 * 60 + 58);

    rig.controller.applyNow(trigger(0, 0.55));
    EXPECT_EQ(rig.applied(), (Sets{{kLeft, 0.55f}}));

    rig.controller.setIsPreviewing(false);
    rig.controller.applyCurrentTrigger();
    EXPECT_EQ(rig.applied(), (Sets{{kLeft, 0.8f}}));
    EXPECT_EQ(rig.controller.lastEvaluatedMinute(), 8 * 60 + 1);
}

TEST(BrightnessControllerTest, LevelsGoByDisplayName) {
    struct Case {
        const char* name;
        std::vector<DisplayInfo> displays;
        std::map<std::string, double> levels;
        Sets expected;
    };
    const Case cases[] = {
        {"same name shares the level",
         {{1, false, "Twin"}, {2, false, "Twin"}, {3, true, "Panel"}},
         {{"Twin", 0.6}},
         {{1, 0.6f}, {2, 0.6f}}},
        {"unknown name sets nothing", {{1, false, "Left"}}, {{"Gone", 0.6}}, {}},
        {"out of range is left to the back end", {{1, false, "Left"}}, {{"Left", 1e300}}, {{1, 2.0f}}},
    };
    for (const auto& c : cases) {
        ControllerRig rig({}, 9, 0);
        rig.backend->setDisplays(c.displays);
        rig.controller.start(rig.store.get());
        rig.controller.preview(c.levels);
        EXPECT_EQ(rig.applied(), c.expected) << c.name;
    }
}

TEST(BrightnessControllerTest, ALevelThatIsNotANumberReachesNoDisplayAsANumber) {
    ControllerRig rig({}, 9, 0);
    rig.controller.start(rig.store.get());
    rig.controller.preview({{"Left", std::numeric_limits<double>::quiet_NaN()}});
    const auto sets = rig.applied();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_TRUE(std::isnan(sets[0].second)); // refused by the back end as writeFailed
}

TEST(BrightnessControllerTest, OneFailingDisplayDoesNotKeepTheOthersDark) {
    ControllerRig rig({BrightnessTrigger(Uuid::random(), "T", 7 * 60, DayOfWeekGroups::allDays(),
                                         {{"Left", 0.2}, {"Right", 0.4}}, true, true)},
                      9, 0);
    rig.backend->setFailing(kLeft);
    rig.controller.start(rig.store.get());
    EXPECT_EQ(rig.applied(), (Sets{{kLeft, 0.2f}, {kRight, 0.4f}}));
}

TEST(BrightnessControllerTest, ADisplayChangeRefreshesTheListWithoutApplying) {
    ControllerRig rig({trigger(7 * 60, 0.7)}, 9, 0);
    rig.controller.start(rig.store.get());
    int changes = 0;
    QObject::connect(&rig.controller, &BrightnessController::connectedDisplaysChanged, [&] { ++changes; });
    rig.events.changeDisplays();
    EXPECT_EQ(changes, 0);
    rig.backend->setDisplays({{kLeft, false, "Left"}, {kRight, false, "Right"}, {3, false, "New"}});
    rig.events.changeDisplays();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(rig.controller.connectedDisplays().size(), 3u);
    EXPECT_EQ(rig.applied(), Sets{});
}

TEST(BrightnessControllerTest, ApplyCurrentTriggerTakesTheDueTriggerWhateverItsWakeFlag) {
    struct Case {
        const char* name;
        std::vector<BrightnessTrigger> triggers;
        Sets expected;
    };
    const Case cases[] = {
        {"latest due", {trigger(7 * 60, 0.7), trigger(8 * 60, 0.8), trigger(10 * 60, 1.0)}, {{kLeft, 0.8f}}},
        {"none due changes nothing", {trigger(10 * 60, 1.0)}, {}},
        {"equal times: first in the list", {trigger(8 * 60, 0.81), trigger(8 * 60, 0.82)}, {{kLeft, 0.81f}}},
    };
    for (const auto& c : cases) {
        ControllerRig rig(c.triggers, 9, 0);
        rig.controller.start(rig.store.get());
        rig.applied();
        rig.controller.applyCurrentTrigger();
        EXPECT_EQ(rig.applied(), c.expected) << c.name;
    }
}

TEST(BrightnessControllerTest, NothingRunsBeforeAStoreIsGiven) {
    ControllerRig rig({trigger(7 * 60, 0.7, true)}, 9, 0);
    rig.controller.applyCurrentTrigger();
    rig.events.wake();
    EXPECT_EQ(rig.applied(), Sets{});
    EXPECT_FALSE(rig.controller.lastEvaluatedMinute());
    rig.controller.start(nullptr);
    rig.minutes(2);
    EXPECT_FALSE(rig.controller.lastEvaluatedMinute());
    rig.controller.setStore(rig.store.get());
    rig.controller.applyCurrentTrigger();
    EXPECT_EQ(rig.applied(), (Sets{{kLeft, 0.7f}}));
}

TEST(BrightnessControllerTest, PreviewingNeverWaitsForASlowDisplay) {
    ControllerRig rig({}, 9, 0);
    rig.controller.start(rig.store.get());
    rig.backend->hold(kLeft);
    QElapsedTimer timer;
    qint64 longest = 0;
    for (int i = 1; i <= 100; ++i) {
        timer.start();
        rig.controller.preview({{"Left", i / 100.0}});
        longest = std::max(longest, timer.nsecsElapsed());
    }
    // The display is held until after the loop, so a preview that waited on it would never return; the
    // bound only has to tell that apart from a loaded machine's scheduling, not time the call.
    EXPECT_LT(longest, 500'000'000);
    rig.backend->release(kLeft);
    // The first level was already on its way; of the 99 that followed only the latest is sent.
    EXPECT_EQ(rig.applied(), (Sets{{kLeft, 0.01f}, {kLeft, 1.0f}}));
}

} // namespace
} // namespace kivo

namespace kivo {
namespace {

TEST(BrightnessControllerTest, PreviewsReachSimulatedMonitorsWholeAndInOrder) {
    auto clock = std::make_shared<SimulatedSleepClock>();
    auto displays = std::make_shared<SimulatedDisplays>();
    auto transport = std::make_shared<SimulatedI2CTransport>();
    auto monitor = std::make_shared<SimulatedDdcMonitor>(10, 100, clock);
    displays->add({ActiveDisplay{1, true, 1, 1, "Panel", "eDP-1"}});
    displays->add({ActiveDisplay{2, false, 2, 2, "Studio", "DP-1"}});
    transport->addChannel("DP-1", DdcBusEntry{"i2c-1", "DP-1", std::nullopt}, monitor);
    ManualClock time;
    SimulatedSystemEvents events;
    MemoryDefaultsStore defaults;
    BrightnessTriggerStore store(defaults, "Sunrise", "Sunset", {});
    BrightnessController controller(
        std::make_shared<SystemDisplayBrightnessBackend>(displays, displays, transport, clock), time, time,
        events, events);
    controller.start(&store);
    for (int i = 1; i <= 100; ++i) {
        controller.preview({{"Panel", i / 100.0}, {"Studio", i / 100.0}});
    }
    ASSERT_TRUE(test::waitUntil([&] { return !controller.isApplying(); }));
    EXPECT_EQ(monitor->current(), 100);
    EXPECT_EQ(displays->level(1), 1.0f);
    const auto applied = monitor->appliedValues();
    EXPECT_TRUE(std::is_sorted(applied.begin(), applied.end()));
    EXPECT_EQ(monitor->rejectedRequests() + monitor->droppedForPacing(), 0);
}

} // namespace
} // namespace kivo
