#pragma once

#include "domain/UnlockPolicy.h"

#include <cstdint>

namespace kivo {

// A countdown of whole seconds: its length and the seconds still to go (0 once it has run out).
struct ShieldCountdownState {
    std::int64_t totalSeconds = 0;
    std::int64_t remainingSeconds = 0;

    // Total and remaining both `seconds`, or both 0 for a negative number.
    static ShieldCountdownState forSeconds(std::int64_t seconds);
    // The policy's wait for `unlockCount` recorded unlocks (never negative).
    static ShieldCountdownState forPolicy(const UnlockPolicy& policy, std::int64_t unlockCount);

    // One second less, never below 0; defined for every stored value, the smallest integer included.
    ShieldCountdownState ticked() const;
    // (total − remaining) ÷ total; 1 when the total is 0 or less.
    double progress() const;
    bool isFinished() const { return remainingSeconds == 0; }

    friend bool operator==(const ShieldCountdownState&, const ShieldCountdownState&) = default;
};

} // namespace kivo
