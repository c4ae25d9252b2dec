#include "app/shell/SaveRetry.h"

#include "core/Log.h"
#include "core/TimerFactory.h"
#include "settings/DefaultsStore.h"

namespace kivo {

SaveRetry::SaveRetry(std::string what, const DefaultsStore& defaults, std::function<void()> retry)
    : what_(std::move(what)), defaults_(defaults), retry_(std::move(retry)) {}

SaveRetry::~SaveRetry() = default;

void SaveRetry::setTimerFactory(TimerFactory& timers) {
    timers_ = &timers;
    timer_.reset();
    if (unsaved_) {
        schedule();
    }
}

void SaveRetry::recordOutcome(bool saved) {
    if (!saved) {
        unsaved_ = true;
        schedule();
        return;
    }
    if (unsaved_) {
        qCInfo(lcSettings, "Saved the %s after an earlier save had failed", what_.c_str());
    }
    unsaved_ = false;
    if (timer_) {
        timer_->stop();
    }
}

void SaveRetry::schedule() {
    // A read-only store stays so for as long as it lives: trying again would only fill the log.
    if (!timers_ || defaults_.isReadOnly()) {
        return;
    }
    if (!timer_) {
        timer_ = timers_->createTimer();
        timer_->setCallback([this] { retry_(); });
    }
    if (!timer_->isActive()) {
        timer_->start(kInterval);
    }
}

} // namespace kivo
