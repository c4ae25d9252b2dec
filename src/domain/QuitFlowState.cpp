#include "domain/QuitFlowState.h"

namespace kivo {

QuitFlowState QuitFlowState::counting(ShieldCountdownState countdown) {
    QuitFlowState state;
    state.countdown_ = countdown;
    return state;
}

QuitFlowState QuitFlowState::start(std::int64_t seconds) {
    return counting(ShieldCountdownState::forSeconds(seconds));
}

QuitFlowState QuitFlowState::ticked() const {
    if (!countdown_) {
        return idle();
    }
    return counting(countdown_->ticked());
}

} // namespace kivo
