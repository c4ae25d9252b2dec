#include "domain/ShieldCountdownState.h"

#include <algorithm>

namespace kivo {

ShieldCountdownState ShieldCountdownState::forSeconds(std::int64_t seconds) {
    const std::int64_t s = std::max<std::int64_t>(seconds, 0);
    return ShieldCountdownState{s, s};
}

ShieldCountdownState ShieldCountdownState::forPolicy(const UnlockPolicy& policy, std::int64_t unlockCount) {
    return forSeconds(policy.waitSeconds(unlockCount));
}

ShieldCountdownState ShieldCountdownState::ticked() const {
    // Compared before subtracting, so that no value can overflow.
    const std::int64_t remaining = remainingSeconds > 0 ? remainingSeconds - 1 : 0;
    return ShieldCountdownState{totalSeconds, remaining};
}

double ShieldCountdownState::progress() const {
    if (totalSeconds <= 0) {
        return 1.0;
    }
    // In floating point: total − remaining may leave the integer range for hand-built states.
    const double total = static_cast<double>(totalSeconds);
    return (total - static_cast<double>(remainingSeconds)) / total;
}

} // namespace kivo
