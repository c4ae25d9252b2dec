#include "domain/QuitFlowState.h"
#include "domain/ShieldCountdownState.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace kivo {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TEST(CountdownTest, ShieldCountdownOperations) {
    EXPECT_EQ(ShieldCountdownState::forSeconds(-3), (ShieldCountdownState{0, 0}));
    EXPECT_EQ(ShieldCountdownState::forSeconds(-3).progress(), 1.0);
    EXPECT_TRUE(ShieldCountdownState::forSeconds(-3).isFinished());
    EXPECT_EQ(ShieldCountdownState::forSeconds(7), (ShieldCountdownState{7, 7}));

    struct Tick {
        ShieldCountdownState before, after;
    };
    const std::vector<Tick> ticks = {
        {{5, 1}, {5, 0}},    {{5, 0}, {5, 0}},          {{5, -2}, {5, 0}}, {{kMax, kMax}, {kMax, kMax - 1}},
        {{3, kMin}, {3, 0}}, {{kMin, kMin}, {kMin, 0}},
    };
    for (const auto& t : ticks) {
        EXPECT_EQ(t.before.ticked(), t.after) << t.before.remainingSeconds;
    }

    struct Progress {
        ShieldCountdownState state;
        double progress;
    };
    const std::vector<Progress> progress = {
        {{10, 10}, 0.0}, {{10, 4}, 0.6}, {{10, 0}, 1.0}, {{0, 0}, 1.0}, {{-5, 3}, 1.0}, {{kMin, kMax}, 1.0},
    };
    for (const auto& p : progress) {
        EXPECT_DOUBLE_EQ(p.state.progress(), p.progress);
    }
    EXPECT_TRUE(std::isfinite(ShieldCountdownState{kMax, kMin}.progress()));
}

TEST(CountdownTest, ForPolicy) {
    struct Case {
        UnlockPolicy policy;
        std::int64_t count;
        ShieldCountdownState state;
    };
    const std::vector<Case> cases = {
        {UnlockPolicy::instant(), 0, {0, 0}},
        {UnlockPolicy::instant(), 50, {0, 0}},
        {UnlockPolicy::waitToUnlock(30), 3, {30, 30}},
        {UnlockPolicy::waitToUnlock(-30), 3, {0, 0}},
        {UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(1)), 2, {20, 20}},
        {UnlockPolicy::waitWithBackoff(5, ResetInterval::never()), 9, {60, 60}},
        {UnlockPolicy::waitWithBackoff(kMax, ResetInterval::never()), kMax, {60, 60}},
        {UnlockPolicy::waitWithBackoff(kMin, ResetInterval::never()), 3, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShieldCountdownState::forPolicy(c.policy, c.count), c.state);
    }
}

TEST(CountdownTest, QuitFlowRunsDownAndStaysFinished) {
    QuitFlowState state = QuitFlowState::start(3);
    EXPECT_EQ(state, QuitFlowState::counting({3, 3}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(state.isCounting());
        EXPECT_FALSE(state.isFinished());
        state = state.ticked();
    }
    EXPECT_EQ(state, QuitFlowState::counting({3, 0}));
    EXPECT_TRUE(state.isFinished());
    EXPECT_TRUE(state.isCounting());
    EXPECT_EQ(state.ticked(), state);
    EXPECT_EQ(state.reset(), QuitFlowState::idle());

    const QuitFlowState idle;
    EXPECT_EQ(idle.ticked(), idle);
    EXPECT_FALSE(idle.countdown());
    EXPECT_FALSE(idle.isFinished());
    EXPECT_FALSE(idle.isCounting());
    EXPECT_EQ(QuitFlowState::start(-1), QuitFlowState::counting({0, 0}));
    EXPECT_EQ(QuitFlowState::counting({10, 3}), QuitFlowState::counting({10, 3}));
    EXPECT_NE(QuitFlowState::counting({10, 3}), QuitFlowState::counting({9, 3}));
    EXPECT_NE(QuitFlowState::counting({0, 0}), idle);
}

} // namespace
} // namespace kivo
