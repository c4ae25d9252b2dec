#include "app/shield/ShieldOverlayController.h"
#include "app/rules/BlockRuleStore.h"
#include "core/ManualClock.h"
#include "platform/simulated/SimulatedSessionLock.h"
#include "platform/simulated/SimulatedShieldWindowSystem.h"
#include "settings/MemoryDefaultsStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace kivo {
namespace {

const PresentationOptions kBefore{PresentationOptions::hideDock}; // e.g. an auto-hidden dock
const ShieldScreen kLeft{"left", QRect(0, 0, 1920, 1080)};
const ShieldScreen kRight{"right", QRect(1920, 0, 2560, 1440)};

BlockRuleGroup groupWith(UnlockPolicy policy) {
    return BlockRuleGroup{Uuid::random(),          "Work", true,         {},          false,
                          BlockSchedule::always(), policy, std::nullopt, std::nullopt};
}

struct ShieldFixture : ::testing::Test {
    ManualClock clock;
    MemoryDefaultsStore defaults;
    BlockRuleStore store{defaults, "Blocklist", clock};
    SimulatedShieldWindowSystem windows;
    SimulatedSessionLock sessionLock; // outlives the controller, as the real one does
    std::unique_ptr<ShieldOverlayController> shield =
        std::make_unique<ShieldOverlayController>(windows, clock, clock);
    std::vector<std::string> completions;

    ShieldFixture() { windows.setInitialPresentationOptions(kBefore); }

    ShieldOverlayController::Completion completion(const std::string& name) {
        return [this, name](BlockRuleStore& s) {
            completions.push_back(name + (&s == &store ? "" : ":other store") +
                                  (shield->isShown() ? ":shown" : ""));
        };
    }

    std::vector<std::int64_t> remainingEachSecond(int seconds) {
        std::vector<std::int64_t> seen;
        for (int i = 0; i < seconds; ++i) {
            clock.advance(1s);
            seen.push_back(shield->countdownState() ? shield->countdownState()->remainingSeconds : 0);
        }
        return seen;
    }

    void expectIdleAndRestored() {
        EXPECT_FALSE(shield->isShown());
        EXPECT_FALSE(shield->countdownState().has_value());
        EXPECT_FALSE(shield->targetGroup().has_value());
        EXPECT_TRUE(windows.veils().empty());
        EXPECT_FALSE(windows.isObservingScreens());
        EXPECT_EQ(windows.presentationOptions(), kBefore);
        EXPECT_EQ(clock.activeTimerCount(), 0);
    }
};

TEST_F(ShieldFixture, WaitFollowsThePolicyAndResetsAnExpiredBackoffRecord) {
    struct Case {
        const char* name;
        UnlockPolicy policy;
        std::int64_t storedCount; // -1: no record
        double hoursSinceLastUnlock;
        std::int64_t expectedWait;
        std::int64_t expectedCountAfter; // -1: still no record
    };
    const std::vector<Case> cases = {
        {"instant", UnlockPolicy::instant(), 3, 1, 0, 3},
        {"fixed wait", UnlockPolicy::waitToUnlock(3), 3, 1, 3, 3},
        {"fixed wait of 0", UnlockPolicy::waitToUnlock(0), -1, 0, 0, -1},
        {"negative fixed wait", UnlockPolicy::waitToUnlock(-5), -1, 0, -5, -1},
        {"backoff without a record", UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(6)), -1, 0, 5, -1},
        {"backoff doubling", UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(6)), 2, 5.9, 20, 2},
        {"backoff capped", UnlockPolicy::waitWithBackoff(5, ResetInterval::never()), 9, 1000, 60, 9},
        {"backoff reset at the interval", UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(6)), 3, 6, 5,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BlockRuleGroup group = groupWith(c.policy);
        store.setBackoffRecords({});
        for (std::int64_t i = 0; i < c.storedCount; ++i) {
            store.recordUnlock(group.id);
        }
        clock.advance(
            std::chrono::milliseconds(static_cast<std::int64_t>(c.hoursSinceLastUnlock * 3600 * 1000)));
        EXPECT_EQ(shield->waitSeconds(group, store), c.expectedWait);
        if (c.expectedCountAfter < 0) {
            EXPECT_TRUE(store.backoffRecords().empty());
        } else {
            ASSERT_EQ(store.backoffRecords().size(), 1u);
            EXPECT_EQ(store.backoffRecords()[0].unlockCount, c.expectedCountAfter);
            EXPECT_EQ(store.backoffRecords()[0].lastUnlockDate.has_value(), c.expectedCountAfter > 0);
        }
    }
}

TEST_F(ShieldFixture, AWaitUnderOneSecondCompletesAtOnceAndKeepsNothing) {
    for (const auto& policy :
         {UnlockPolicy::instant(), UnlockPolicy::waitToUnlock(0), UnlockPolicy::waitToUnlock(-3)}) {
        completions.clear();
        shield->present(groupWith(policy), store, completion("done"));
        EXPECT_EQ(completions, std::vector<std::string>{"done"});
        expectIdleAndRestored();
        EXPECT_TRUE(windows.presentationHistory().empty());
        EXPECT_EQ(windows.veilsShownCount(), 0);
        // Nothing of the finished request lingers for a later dismissal to run.
        shield->dismiss(true);
        EXPECT_EQ(completions.size(), 1u);
    }
}

TEST_F(ShieldFixture, CountsDownFromNToOneThenCompletesOnce) {
    const BlockRuleGroup group = groupWith(UnlockPolicy::waitToUnlock(3));
    int countdownChanges = 0;
    QObject::connect(shield.get(), &ShieldOverlayController::countdownStateChanged,
                     [&] { ++countdownChanges; });
    shield->present(group, store, completion("unlock"));
    EXPECT_TRUE(shield->isShown());
    EXPECT_EQ(shield->countdownState(), (ShieldCountdownState{3, 3}));
    EXPECT_EQ(shield->targetGroup(), group);
    EXPECT_EQ(windows.presentationOptions(), PresentationOptions{PresentationOptions::shield});
    ASSERT_EQ(windows.veils().size(), 1u);
    EXPECT_TRUE(windows.veils()[0].isPrimary);

    clock.advance(999ms);
    EXPECT_EQ(shield->countdownState(), (ShieldCountdownState{3, 3}));
    EXPECT_EQ(remainingEachSecond(2), (std::vector<std::int64_t>{2, 1}));
    EXPECT_TRUE(completions.empty());
    clock.advance(1ms);
    EXPECT_EQ(completions, std::vector<std::string>{"unlock"}) << "runs after the shield is down";
    expectIdleAndRestored();
    EXPECT_EQ(countdownChanges, 4); // 3, 2, 1, none
    EXPECT_TRUE(store.backoffRecords().empty()) << "a fixed wait counts no unlock";
    clock.advance(10s);
    EXPECT_EQ(completions.size(), 1u);
}

TEST_F(ShieldFixture, ACompletedBackoffWaitCountsTheUnlockBeforeTheCompletionRuns) {
    const BlockRuleGroup group = groupWith(UnlockPolicy::waitWithBackoff(2, ResetInterval::hours(1)));
    store.recordUnlock(group.id);
    shield->present(group, store, [&](BlockRuleStore& s) {
        completions.push_back("count=" + std::to_string(s.backoffRecord(group.id).unlockCount));
    });
    EXPECT_EQ(shield->countdownState(), (ShieldCountdownState{4, 4}));
    clock.advance(4s);
    EXPECT_EQ(completions, std::vector<std::string>{"count=2"});
    EXPECT_EQ(store.backoffRecord(group.id).lastUnlockDate, clock.now());
}

TEST_F(ShieldFixture, EscapeOrCancelTakesEveryVeilDownAndRunsNothing) {
    struct Case {
        const char* name;
        std::function<void(SimulatedShieldWindowSystem&)> press;
    };
    const std::vector<Case> cases = {
        {"Escape on the primary screen", [](SimulatedShieldWindowSystem& w) { w.pressEscape(0); }},
        {"Escape on the secondary screen", [](SimulatedShieldWindowSystem& w) { w.pressEscape(1); }},
        {"the cancel button", [](SimulatedShieldWindowSystem& w) { w.pressCancel(); }},
    };
    windows.setScreens({kLeft, kRight}, kLeft);
    const BlockRuleGroup group = groupWith(UnlockPolicy::waitWithBackoff(5, ResetInterval::never()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store.setBackoffRecords({});
        shield->present(group, store, completion("unlock"));
        ASSERT_EQ(windows.veils().size(), 2u);
        clock.advance(2s);
        c.press(windows);
        expectIdleAndRestored();
        clock.advance(10s);
        EXPECT_TRUE(completions.empty());
        EXPECT_TRUE(store.backoffRecords().empty());
    }
}

TEST_F(ShieldFixture, ASecondPresentWhileShownIsIgnored) {
    const BlockRuleGroup first = groupWith(UnlockPolicy::waitToUnlock(5));
    const BlockRuleGroup second = groupWith(UnlockPolicy::waitToUnlock(2));
    shield->present(first, store, completion("first"));
    clock.advance(1s);
    shield->present(second, store, completion("second"));
    shield->present(groupWith(UnlockPolicy::instant()), store, completion("instant"));
    EXPECT_EQ(clock.activeTimerCount(), 1);
    EXPECT_EQ(shield->targetGroup(), first);
    EXPECT_EQ(shield->countdownState(), (ShieldCountdownState{5, 4}));
    EXPECT_EQ(windows.presentationHistory().size(), 1u) << "the saved options are not overwritten";
    clock.advance(4s);
    EXPECT_EQ(completions, std::vector<std::string>{"first"});
    expectIdleAndRestored();
}

TEST_F(ShieldFixture, WithNoScreenPresentActsAsACancel) {
    windows.setScreens({});
    shield->present(groupWith(UnlockPolicy::waitToUnlock(3)), store, completion("unlock"));
    expectIdleAndRestored();
    EXPECT_TRUE(windows.presentationHistory().empty());
    clock.advance(10s);
    EXPECT_TRUE(completions.empty());
    // The next request, with a screen back, works normally.
    windows.setScreens({kLeft});
    shield->present(groupWith(UnlockPolicy::waitToUnlock(1)), store, completion("later"));
    EXPECT_TRUE(shield->isShown());
    clock.advance(1s);
    EXPECT_EQ(completions, std::vector<std::string>{"later"});
}

TEST_F(ShieldFixture, ScreensChangingMidCountdownKeepTheCount) {
    windows.setScreens({kLeft, kRight}, kRight);
    shield->present(groupWith(UnlockPolicy::waitToUnlock(6)), store, completion("unlock"));
    ASSERT_EQ(windows.veils().size(), 2u);
    EXPECT_FALSE(windows.veils()[0].isPrimary);
    EXPECT_TRUE(windows.veils()[1].isPrimary) << "the main screen carries the countdown";

    clock.advance(2s);
    windows.setScreens({});
    EXPECT_TRUE(windows.veils().empty());
    EXPECT_TRUE(shield->isShown());
    EXPECT_EQ(windows.presentationOptions(), PresentationOptions{PresentationOptions::shield});
    clock.advance(1s);
    EXPECT_EQ(shield->countdownState(), (ShieldCountdownState{6, 3}));

    // A main screen the system names but does not list leaves the first listed screen primary.
    windows.setScreens({kLeft}, kRight);
    ASSERT_EQ(windows.veils().size(), 1u);
    EXPECT_EQ(windows.veils()[0].screen, kLeft);
    EXPECT_TRUE(windows.veils()[0].isPrimary);
    EXPECT_EQ(shield->countdownState(), (ShieldCountdownState{6, 3}));
    EXPECT_EQ(clock.activeTimerCount(), 1);

    clock.advance(3s);
    EXPECT_EQ(completions, std::vector<std::string>{"unlock"});
    expectIdleAndRestored();
    // Once the shield is down, screen changes build nothing.
    windows.setScreens({kLeft, kRight});
    EXPECT_TRUE(windows.veils().empty());
}

TEST_F(ShieldFixture, ACountdownEndingWithNoScreenStillCompletes) {
    shield->present(groupWith(UnlockPolicy::waitToUnlock(2)), store, completion("unlock"));
    windows.setScreens({});
    clock.advance(2s);
    EXPECT_EQ(completions, std::vector<std::string>{"unlock"});
    expectIdleAndRestored();
}

// A switch may ask for the next unlock from inside a completion; the new shield must save the options the
// user had, not the shield's own, or the desktop would stay locked after it.
TEST_F(ShieldFixture, ACompletionMayAskForTheNextUnlock) {
    const BlockRuleGroup next = groupWith(UnlockPolicy::waitToUnlock(2));
    shield->present(groupWith(UnlockPolicy::waitToUnlock(1)), store, [&](BlockRuleStore& s) {
        completions.push_back("first");
        shield->present(next, s, completion("second"));
    });
    clock.advance(1s);
    EXPECT_EQ(completions, std::vector<std::string>{"first"});
    EXPECT_TRUE(shield->isShown());
    EXPECT_EQ(shield->targetGroup(), next);
    EXPECT_EQ(shield->countdownState(), (ShieldCountdownState{2, 2}));
    EXPECT_EQ(windows.veils().size(), 1u);
    EXPECT_EQ(clock.activeTimerCount(), 1);
    clock.advance(2s);
    EXPECT_EQ(completions, (std::vector<std::string>{"first", "second"}));
    expectIdleAndRestored();
}

TEST_F(ShieldFixture, AStoreGoneBeforeTheEndRunsNothing) {
    auto shortLived = std::make_unique<BlockRuleStore>(defaults, "Blocklist", clock);
    const BlockRuleGroup group = groupWith(UnlockPolicy::waitWithBackoff(2, ResetInterval::never()));
    shield->present(group, *shortLived, completion("unlock"));
    shortLived.reset();
    clock.advance(2s);
    EXPECT_TRUE(completions.empty());
    expectIdleAndRestored();
}

TEST_F(ShieldFixture, GoingAwayWhileShownUnlocksTheDesktopAndRunsNothing) {
    shield->present(groupWith(UnlockPolicy::waitToUnlock(5)), store, completion("unlock"));
    shield.reset();
    EXPECT_EQ(windows.presentationOptions(), kBefore);
    EXPECT_TRUE(windows.veils().empty());
    EXPECT_FALSE(windows.isObservingScreens());
    clock.advance(10s);
    EXPECT_TRUE(completions.empty());
}

TEST_F(ShieldFixture, TheSessionsLockWinsAndTheShieldIsWholeAgainOnceTheLockerIsGone) {
    using Change = SessionLockSource::Change;
    struct Idle final : UserIdleSource {
        std::chrono::milliseconds now{0};
        std::optional<std::chrono::milliseconds> idleTime() override { return now; }
    } idle;
    const std::map<std::string, std::function<void()>> steps = {
        {"away", [&] { idle.now = 31s, clock.advance(1s); }},
        {"nearly away", [&] { idle.now = 29s, clock.advance(1s); }},
        {"input", [&] { idle.now = 0s, clock.advance(200ms); }},
        {"lock", [&] { sessionLock.report(Change::locked); }},
        {"unlock", [&] { sessionLock.report(Change::unlocked); }},
        {"sleep", [&] { sessionLock.report(Change::sleeping); }},
        {"wake", [&] { sessionLock.report(Change::woke); }},
        {"locker gone", [&] { windows.freeKeyboard(); }},
        {"escape", [&] { windows.pressEscape(windows.veils().size() - 1); }},
        {"cancel", [&] { windows.pressCancel(); }},
        {"monitor off", [&] { windows.setScreens({kLeft}, kLeft); }},
        {"a minute", [&] { clock.advance(60s); }},
        {"a second", [&] { clock.advance(1s); }},
    };
    // After each step: whether the shield stands aside or is up, the seconds left, the grace of a
    // pending wait for the keyboard, and how many veils were put up so far.
    const auto state = [&] {
        if (!shield->isShown()) {
            return std::string("down");
        }
        std::string s = shield->isAsideWhileAway() ? "away" : shield->isYieldingToLock() ? "aside" : "up";
        if ((shield->isYieldingToLock() || shield->isAsideWhileAway()) != windows.isYielding()) {
            s += "(windows disagree)";
        }
        s += " left=" + std::to_string(shield->countdownState()->remainingSeconds);
        if (const auto wait = windows.keyboardWait()) {
            s += " wait=" + std::to_string(std::chrono::duration_cast<std::chrono::seconds>(*wait).count());
        }
        return s + " veils=" + std::to_string(windows.veilsShownCount());
    };
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> stepsAndStates;
    };
    const std::vector<Case> cases = {
        {"the Lock signal, a locker that comes and goes",
         {{"lock", "aside left=5 wait=10 veils=2"},
          {"a minute", "aside left=5 wait=10 veils=2"},
          {"escape", "aside left=5 wait=10 veils=2"},
          {"monitor off", "aside left=5 wait=10 veils=2"},
          {"locker gone", "up left=5 veils=3"},
          {"a second", "up left=4 veils=3"},
          {"escape", "down"}}},
        {"a sleep: only the wake starts the wait for the keyboard",
         {{"sleep", "aside left=5 veils=2"},
          {"locker gone", "aside left=5 veils=2"},
          {"unlock", "aside left=5 veils=2"},
          {"wake", "aside left=5 wait=10 veils=2"},
          {"locker gone", "up left=5 veils=4"}}},
        {"locked, then asleep, then awake",
         {{"lock", "aside left=5 wait=10 veils=2"},
          {"sleep", "aside left=5 veils=2"},
          {"wake", "aside left=5 wait=10 veils=2"},
          {"lock", "aside left=5 wait=10 veils=2"}}},
        {"Unlock shortens the wait to a moment for a locker still starting",
         {{"lock", "aside left=5 wait=10 veils=2"},
          {"unlock", "aside left=5 wait=2 veils=2"},
          {"locker gone", "up left=5 veils=4"},
          {"unlock", "up left=5 veils=4"}}},
        {"Keep Blocking during the lock ends the shield with nothing changed",
         {{"lock", "aside left=5 wait=10 veils=2"}, {"cancel", "down"}, {"locker gone", "down"}}},
        {"away: the keyboard is let go and the countdown goes on; the next input takes it back",
         {{"nearly away", "up left=4 veils=2"},
          {"away", "away left=3 veils=2"},
          {"a second", "away left=2 veils=2"},
          {"input", "aside left=2 wait=0 veils=2"},
          {"locker gone", "up left=2 veils=4"},
          {"a second", "up left=1 veils=4"}}},
        {"a lock while away is a lock",
         {{"away", "away left=4 veils=2"},
          {"lock", "aside left=4 wait=10 veils=2"},
          {"input", "aside left=4 wait=10 veils=2"},
          {"locker gone", "up left=4 veils=4"}}},
        {"Escape while away ends the shield", {{"away", "away left=4 veils=2"}, {"escape", "down"}}},
        {"no shield, nothing to stand aside for",
         {{"cancel", "down"}, {"lock", "down"}, {"wake", "down"}, {"locker gone", "down"}}},
    };
    shield->followSessionLock(sessionLock);
    const BlockRuleGroup group = groupWith(UnlockPolicy::waitWithBackoff(5, ResetInterval::never()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        shield.reset();
        windows = SimulatedShieldWindowSystem();
        windows.setInitialPresentationOptions(kBefore);
        windows.setScreens({kLeft, kRight}, kLeft);
        shield = std::make_unique<ShieldOverlayController>(windows, clock, clock);
        shield->followSessionLock(sessionLock);
        idle.now = 0s;
        shield->followUserIdle(idle);
        shield->present(group, store, completion("unlock"));
        for (const auto& [step, expected] : c.stepsAndStates) {
            steps.at(step)();
            EXPECT_EQ(state(), expected) << "after " << step;
        }
        // Whatever ended the shield, the countdown completes the unlock only when it ran out.
        shield->dismiss(false);
        expectIdleAndRestored();
        EXPECT_TRUE(completions.empty());
        EXPECT_TRUE(store.backoffRecords().empty());
    }
    shield.reset();
    EXPECT_FALSE(sessionLock.isFollowed());
}

} // namespace
} // namespace kivo
