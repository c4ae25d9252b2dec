#include "app/sheets/EraseAllDataFlow.h"
#include "app/sheets/QuitConfirmationFlow.h"
#include "app/sheets/UninstallFlow.h"
#include "core/ManualClock.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace kivo {
namespace {

std::int64_t remaining(const QuitFlowState& state) {
    const auto countdown = state.countdown();
    return countdown ? countdown->remainingSeconds : -1;
}

std::int64_t remaining(const EraseAllDataFlow& flow) {
    const QuitFlowState* countdown = flow.stage().countdown();
    return countdown ? remaining(*countdown) : -1;
}

// ---- Quit confirmation ----

struct QuitFixture : ::testing::Test {
    ManualClock clock;
    QuitConfirmationFlow flow{clock};
    std::vector<std::string> events;

    std::function<void()> quitAction(const std::string& name) {
        return [this, name] {
            // The action runs last: the flow is already idle and holds nothing.
            events.push_back(name + (flow.state() == QuitFlowState::idle() ? ":idle" : ":busy") +
                             (flow.hasPendingQuit() ? ":held" : ":clear"));
        };
    }
};

TEST_F(QuitFixture, CountsDownOncePerSecondAndStopsAtZero) {
    flow.begin(QuitSource::menuBar, quitAction("quit"));
    EXPECT_EQ(flow.state(), QuitFlowState::start(10));
    std::vector<std::int64_t> seen;
    for (int i = 0; i < 10; ++i) {
        clock.advance(1s);
        seen.push_back(remaining(flow.state()));
    }
    EXPECT_EQ(seen, (std::vector<std::int64_t>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_FALSE(flow.isTicking());
    clock.advance(30s);
    EXPECT_EQ(remaining(flow.state()), 0);
    EXPECT_TRUE(events.empty()) << "reaching 0 alone never quits";
}

TEST_F(QuitFixture, BeginDuringCountdownRestartsWithOneTicker) {
    test::LogCapture log;
    flow.begin(QuitSource::menuBar, quitAction("first"));
    clock.advance(6s);
    ASSERT_EQ(remaining(flow.state()), 4);
    clock.advance(500ms);
    flow.begin(QuitSource::settings, quitAction("second"));
    EXPECT_EQ(remaining(flow.state()), 10);
    EXPECT_EQ(flow.source(), QuitSource::settings);
    EXPECT_EQ(clock.activeTimerCount(), 1);
    // The restarted countdown ticks a full second after the restart, not at the old tick's time.
    clock.advance(600ms);
    EXPECT_EQ(remaining(flow.state()), 10);
    clock.advance(10s);
    flow.confirm();
    EXPECT_EQ(events, (std::vector<std::string>{"second:idle:clear"}));
    EXPECT_EQ(log.count("Quit confirmation started source=menuBar"), 1);
    EXPECT_EQ(log.count("Quit confirmation started source=settings"), 1);
}

TEST_F(QuitFixture, ConfirmBeforeZeroOrWhileIdleChangesNothing) {
    test::LogCapture log;
    flow.confirm();
    EXPECT_EQ(flow.state(), QuitFlowState::idle());
    flow.begin(QuitSource::menuBar, quitAction("quit"));
    clock.advance(9s);
    ASSERT_EQ(remaining(flow.state()), 1);
    flow.confirm();
    EXPECT_EQ(remaining(flow.state()), 1);
    EXPECT_TRUE(flow.hasPendingQuit());
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(log.count("Quit confirmation confirmed"), 0);
}

TEST_F(QuitFixture, ConfirmAtZeroRunsTheActionOnceAndLast) {
    test::LogCapture log;
    flow.begin(QuitSource::settings, quitAction("quit"));
    clock.advance(10s);
    flow.confirm();
    flow.confirm();
    EXPECT_EQ(events, (std::vector<std::string>{"quit:idle:clear"}));
    EXPECT_EQ(log.count("lifecycle|info|Quit confirmation confirmed"), 1);
    EXPECT_EQ(flow.source(), QuitSource::settings);
    EXPECT_EQ(clock.activeTimerCount(), 0);
}

TEST_F(QuitFixture, CancelWithATickPendingNeverDecrementsOrQuits) {
    test::LogCapture log;
    flow.begin(QuitSource::menuBar, quitAction("quit"));
    clock.advance(2500ms);
    flow.cancel();
    EXPECT_EQ(flow.state(), QuitFlowState::idle());
    EXPECT_FALSE(flow.hasPendingQuit());
    int changes = 0;
    QObject::connect(&flow, &QuitConfirmationFlow::stateChanged, [&] { ++changes; });
    clock.advance(20s);
    EXPECT_EQ(changes, 0);
    flow.confirm();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(flow.source(), QuitSource::menuBar);
    // Cancelling an idle flow still says so.
    flow.cancel();
    EXPECT_EQ(log.count("lifecycle|info|Quit confirmation cancelled"), 2);
}

TEST_F(QuitFixture, AnnouncesOnlyRealChanges) {
    int stateChanges = 0;
    int sourceChanges = 0;
    QObject::connect(&flow, &QuitConfirmationFlow::stateChanged, [&] { ++stateChanges; });
    QObject::connect(&flow, &QuitConfirmationFlow::sourceChanged, [&] { ++sourceChanges; });
    flow.cancel();
    EXPECT_EQ(stateChanges, 0);
    flow.begin(QuitSource::menuBar, nullptr);
    flow.begin(QuitSource::menuBar, nullptr);
    EXPECT_EQ(stateChanges, 1);
    EXPECT_EQ(sourceChanges, 0);
    clock.advance(1s);
    flow.begin(QuitSource::settings, nullptr);
    EXPECT_EQ(stateChanges, 3);
    EXPECT_EQ(sourceChanges, 1);
}

// The action may start the next confirmation at once (a quit asked for again while the first is
// finishing); what it starts must survive the end of confirm.
TEST_F(QuitFixture, AnActionThatBeginsAgainKeepsTheNewCountdown) {
    flow.begin(QuitSource::menuBar, [this] { flow.begin(QuitSource::settings, quitAction("again")); });
    clock.advance(10s);
    flow.confirm();
    EXPECT_EQ(flow.state(), QuitFlowState::start(10));
    EXPECT_TRUE(flow.hasPendingQuit());
    EXPECT_EQ(flow.source(), QuitSource::settings);
    clock.advance(10s);
    flow.confirm();
    EXPECT_EQ(events, (std::vector<std::string>{"again:idle:clear"}));
}

// ---- Erase all data ----

struct EraseFixture : ::testing::Test {
    ManualClock clock;
    EraseAllDataFlow flow{clock};
    std::vector<std::string> events;

    std::function<void()> eraseAction(const std::string& name) {
        return [this, name] {
            events.push_back(name + (flow.stage().isInactive() ? ":inactive" : ":busy") +
                             (flow.hasPendingErase() ? ":held" : ":clear"));
        };
    }
};

TEST_F(EraseFixture, WarningThenCountdownThenConfirmRunsTheActionOnceAndLast) {
    flow.begin(eraseAction("erase"));
    EXPECT_TRUE(flow.stage().isWarning());
    EXPECT_FALSE(flow.isTicking());
    flow.continueToCountdown();
    EXPECT_EQ(remaining(flow), 10);
    clock.advance(9s);
    flow.confirm(); // too early
    EXPECT_EQ(remaining(flow), 1);
    EXPECT_TRUE(events.empty());
    clock.advance(1s);
    EXPECT_EQ(remaining(flow), 0);
    EXPECT_FALSE(flow.isTicking());
    clock.advance(5s);
    EXPECT_EQ(remaining(flow), 0);
    flow.confirm();
    flow.confirm();
    EXPECT_EQ(events, (std::vector<std::string>{"erase:inactive:clear"}));
}

TEST_F(EraseFixture, ContinueOutsideTheWarningChangesNothing) {
    flow.continueToCountdown();
    EXPECT_TRUE(flow.stage().isInactive());
    flow.begin(eraseAction("erase"));
    flow.continueToCountdown();
    clock.advance(4s);
    flow.continueToCountdown(); // does not restart the running countdown
    EXPECT_EQ(remaining(flow), 6);
}

TEST_F(EraseFixture, CancelAtAnyPointNeverErases) {
    struct Case {
        const char* name;
        std::function<void(EraseFixture&)> reach;
    };
    const std::vector<Case> cases = {
        {"at the warning", [](EraseFixture&) {}},
        {"with a tick pending",
         [](EraseFixture& f) {
             f.flow.continueToCountdown();
             f.clock.advance(3500ms);
         }},
        {"at zero",
         [](EraseFixture& f) {
             f.flow.continueToCountdown();
             f.clock.advance(10s);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        flow.begin(eraseAction("erase"));
        c.reach(*this);
        flow.cancel();
        EXPECT_TRUE(flow.stage().isInactive());
        EXPECT_FALSE(flow.hasPendingErase());
        clock.advance(20s);
        EXPECT_TRUE(flow.stage().isInactive());
        flow.confirm();
        EXPECT_TRUE(events.empty());
    }
}

TEST_F(EraseFixture, BeginDuringCountdownGoesBackToTheWarningAndKeepsOnlyTheNewAction) {
    flow.begin(eraseAction("first"));
    flow.continueToCountdown();
    clock.advance(3s);
    flow.begin(eraseAction("second"));
    EXPECT_TRUE(flow.stage().isWarning());
    clock.advance(2s);
    EXPECT_TRUE(flow.stage().isWarning()) << "the old countdown must not tick on";
    flow.continueToCountdown();
    EXPECT_EQ(remaining(flow), 10);
    clock.advance(10s);
    flow.confirm();
    EXPECT_EQ(events, (std::vector<std::string>{"second:inactive:clear"}));
}

TEST_F(EraseFixture, AnActionThatBeginsAgainKeepsTheNewWarning) {
    flow.begin([this] { flow.begin(eraseAction("again")); });
    flow.continueToCountdown();
    clock.advance(10s);
    flow.confirm();
    EXPECT_TRUE(flow.stage().isWarning());
    EXPECT_TRUE(flow.hasPendingErase());
    flow.continueToCountdown();
    clock.advance(10s);
    flow.confirm();
    EXPECT_EQ(events, (std::vector<std::string>{"again:inactive:clear"}));
}

// ---- Uninstall ----

TEST(UninstallFlowTest, ConfirmRunsOnlyTheLatestActionOnceAfterReturningToInactive) {
    UninstallFlow flow;
    std::vector<std::string> events;
    auto action = [&](const std::string& name) {
        return [&, name] {
            events.push_back(name +
                             (flow.stage() == UninstallFlow::Stage::inactive ? ":inactive" : ":warning") +
                             (flow.hasPendingUninstall() ? ":held" : ":clear"));
        };
    };
    flow.confirm(); // nothing pending
    flow.begin(action("first"));
    flow.begin(action("second"));
    EXPECT_EQ(flow.stage(), UninstallFlow::Stage::warning);
    flow.confirm();
    flow.confirm();
    EXPECT_EQ(events, (std::vector<std::string>{"second:inactive:clear"}));
}

TEST(UninstallFlowTest, CancelDropsTheAction) {
    UninstallFlow flow;
    int runs = 0;
    int stageChanges = 0;
    QObject::connect(&flow, &UninstallFlow::stageChanged, [&] { ++stageChanges; });
    flow.cancel();
    EXPECT_EQ(stageChanges, 0);
    flow.begin([&] { ++runs; });
    flow.cancel();
    flow.confirm();
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(flow.stage(), UninstallFlow::Stage::inactive);
    EXPECT_EQ(stageChanges, 2);
}

TEST(UninstallFlowTest, AnActionThatBeginsAgainKeepsTheNewWarning) {
    UninstallFlow flow;
    int runs = 0;
    flow.begin([&] { flow.begin([&] { ++runs; }); });
    flow.confirm();
    EXPECT_EQ(flow.stage(), UninstallFlow::Stage::warning);
    EXPECT_TRUE(flow.hasPendingUninstall());
    flow.confirm();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(flow.stage(), UninstallFlow::Stage::inactive);
}

} // namespace
} // namespace kivo
