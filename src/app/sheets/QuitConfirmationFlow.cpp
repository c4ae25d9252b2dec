#include "app/sheets/QuitConfirmationFlow.h"

#include "core/Log.h"
#include "core/TimerFactory.h"

#include <chrono>
#include <utility>

namespace kivo {

QuitConfirmationFlow::QuitConfirmationFlow(TimerFactory& timers, QObject* parent)
    : QObject(parent), timer_(timers.createTimer()), state_(QuitFlowState::idle()) {
    // One timer for the life of the flow: restarting it replaces the pending tick, so two can never run.
    timer_->setCallback([this] { tick(); });
}

QuitConfirmationFlow::~QuitConfirmationFlow() = default;

bool QuitConfirmationFlow::isTicking() const {
    return timer_->isActive();
}

void QuitConfirmationFlow::begin(QuitSource source, std::function<void()> performQuit) {
    qCInfo(lcLifecycle, "Quit confirmation started source=%s", quitSourceName(source));
    if (source_ != source) {
        source_ = source;
        emit sourceChanged();
    }
    performQuit_ = std::move(performQuit);
    setState(QuitFlowState::start(countdownSeconds));
    timer_->start(std::chrono::seconds(1));
}

void QuitConfirmationFlow::cancel() {
    qCInfo(lcLifecycle, "Quit confirmation cancelled");
    timer_->stop();
    performQuit_ = nullptr;
    setState(QuitFlowState::idle());
}

void QuitConfirmationFlow::confirm() {
    if (!state_.isFinished()) {
        return;
    }
    qCInfo(lcLifecycle, "Quit confirmation confirmed");
    auto action = std::move(performQuit_);
    performQuit_ = nullptr;
    timer_->stop();
    setState(QuitFlowState::idle());
    // Last, with the flow idle and holding nothing: the action terminates the program.
    if (action) {
        action();
    }
}

void QuitConfirmationFlow::tick() {
    if (!state_.isCounting() || state_.isFinished()) {
        timer_->stop();
        return;
    }
    setState(state_.ticked());
    // At 0 the flow waits for the user; no further tick is needed.
    if (state_.isFinished()) {
        timer_->stop();
    }
}

void QuitConfirmationFlow::setState(QuitFlowState state) {
    if (state_ == state) {
        return;
    }
    state_ = std::move(state);
    emit stateChanged();
}

} // namespace kivo
