#include "app/sheets/EraseAllDataFlow.h"

#include "core/TimerFactory.h"

#include <chrono>
#include <utility>

namespace kivo {

EraseAllDataFlow::EraseAllDataFlow(TimerFactory& timers, QObject* parent)
    : QObject(parent), timer_(timers.createTimer()) {
    // One timer for the life of the flow, so a restarted countdown can never leave a second one ticking.
    timer_->setCallback([this] { tick(); });
}

EraseAllDataFlow::~EraseAllDataFlow() = default;

bool EraseAllDataFlow::isTicking() const {
    return timer_->isActive();
}

void EraseAllDataFlow::begin(std::function<void()> performErase) {
    performErase_ = std::move(performErase);
    timer_->stop();
    setStage(Stage::warning());
}

void EraseAllDataFlow::continueToCountdown() {
    if (!stage_.isWarning()) {
        return;
    }
    setStage(Stage::countingDown(QuitFlowState::start(countdownSeconds)));
    timer_->start(std::chrono::seconds(1));
}

void EraseAllDataFlow::confirm() {
    const QuitFlowState* countdown = stage_.countdown();
    if (!countdown || !countdown->isFinished()) {
        return;
    }
    auto action = std::move(performErase_);
    performErase_ = nullptr;
    timer_->stop();
    setStage(Stage::inactive());
    // Last, with the flow inactive and holding nothing.
    if (action) {
        action();
    }
}

void EraseAllDataFlow::cancel() {
    timer_->stop();
    performErase_ = nullptr;
    setStage(Stage::inactive());
}

void EraseAllDataFlow::tick() {
    const QuitFlowState* countdown = stage_.countdown();
    if (!countdown || countdown->isFinished()) {
        timer_->stop();
        return;
    }
    setStage(Stage::countingDown(countdown->ticked()));
    if (stage_.countdown()->isFinished()) {
        timer_->stop();
    }
}

void EraseAllDataFlow::setStage(Stage stage) {
    if (stage_ == stage) {
        return;
    }
    stage_ = std::move(stage);
    emit stageChanged();
}

} // namespace kivo
