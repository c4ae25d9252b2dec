#pragma once

#include "domain/ShieldCountdownState.h"

#include <cstdint>
#include <optional>

namespace kivo {

// Whether a confirmation countdown is running (or has run out), and its countdown.
class QuitFlowState {
public:
    // Idle.
    QuitFlowState() = default;

    static QuitFlowState idle() { return QuitFlowState(); }
    static QuitFlowState counting(ShieldCountdownState countdown);
    // Counting `seconds` (a negative number counts 0).
    static QuitFlowState start(std::int64_t seconds);

    QuitFlowState ticked() const;
    QuitFlowState reset() const { return idle(); }

    bool isCounting() const { return countdown_.has_value(); }
    const std::optional<ShieldCountdownState>& countdown() const { return countdown_; }
    bool isFinished() const { return countdown_ && countdown_->isFinished(); }

    friend bool operator==(const QuitFlowState&, const QuitFlowState&) = default;

private:
    std::optional<ShieldCountdownState> countdown_;
};

} // namespace kivo
