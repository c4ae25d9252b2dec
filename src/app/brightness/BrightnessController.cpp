#include "app/brightness/BrightnessController.h"

#include "core/Log.h"
#include "domain/BrightnessTriggerEvaluator.h"

#include <QThread>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kivo {

BrightnessController::BrightnessController(std::shared_ptr<DisplayBrightnessBackend> backend,
                                           const Clock& clock, TimerFactory& timers, SystemWakeSource& wake,
                                           DisplayChangeSource& displayChanges, QObject* parent)
    : QObject(parent), backend_(backend), clock_(clock), timers_(timers), wake_(wake),
      displayChanges_(displayChanges), writes_(std::move(backend), timers) {}

BrightnessController::~BrightnessController() {
    // The sources may outlive the controller; leave them nothing that points here.
    if (isStarted()) {
        wake_.setWakeHandler(nullptr);
        displayChanges_.setDisplaysChangedHandler(nullptr);
    }
}

void BrightnessController::start(BrightnessTriggerStore* store) {
    if (isStarted()) {
        setStore(store);
        return;
    }
    setStore(store);
    refreshDisplays();
    timer_ = timers_.createTimer();
    timer_->setCallback(whileAlive(&BrightnessController::tick));
    timer_->start(kTickInterval);
    tick();
    displayChanges_.setDisplaysChangedHandler(whileAlive(&BrightnessController::refreshDisplays));
    wake_.setWakeHandler(whileAlive(&BrightnessController::applyWakeTrigger));
    applyWakeTrigger();
    qCInfo(lcBrightness, "Brightness controller started with %zu display(s)", connectedDisplays_.size());
}

std::function<void()> BrightnessController::whileAlive(void (BrightnessController::*step)()) {
    return [self = QPointer<BrightnessController>(this), step] {
        if (self) {
            Q_ASSERT(QThread::currentThread() == self->thread());
            (self.data()->*step)();
        }
    };
}

void BrightnessController::setStore(BrightnessTriggerStore* store) {
    store_ = store;
    emit storeChanged();
}

void BrightnessController::setIsPreviewing(bool previewing) {
    if (previewing == isPreviewing_) {
        return;
    }
    isPreviewing_ = previewing;
    emit isPreviewingChanged();
}

void BrightnessController::refreshDisplays() {
    auto displays = backend_->connectedDisplays();
    if (displays == connectedDisplays_) {
        return;
    }
    connectedDisplays_ = std::move(displays);
    emit connectedDisplaysChanged();
}

std::optional<BrightnessController::DayAndMinute> BrightnessController::dayAndMinute() const {
    const LocalTime local = clock_.localTime();
    const auto day = dayOfWeekFromRawValue(local.weekday);
    if (!day) {
        return std::nullopt;
    }
    return DayAndMinute{*day, local.minuteOfDay};
}

void BrightnessController::recordEvaluation(DayAndMinute now) {
    if (lastEvaluatedDay_ != now.day) {
        lastEvaluatedDay_ = now.day;
        emit lastEvaluatedDayChanged();
    }
    if (lastEvaluatedMinute_ != now.minute) {
        lastEvaluatedMinute_ = now.minute;
        emit lastEvaluatedMinuteChanged();
    }
}

void BrightnessController::setLastAppliedTriggerID(std::optional<Uuid> id) {
    if (lastAppliedTriggerID_ == id) {
        return;
    }
    lastAppliedTriggerID_ = id;
    emit lastAppliedTriggerIDChanged();
}

void BrightnessController::tick() {
    if (isPreviewing_ || !store_) {
        return;
    }
    const auto now = dayAndMinute();
    if (!now) {
        return;
    }
    const auto previousDay = lastEvaluatedDay_;
    const auto previousMinute = lastEvaluatedMinute_;
    recordEvaluation(*now);
    // The first tick after start, and the first of a new day, only record: nothing fires across midnight.
    if (!previousDay || *previousDay != now->day || !previousMinute) {
        return;
    }
    if (const auto trigger = BrightnessTriggerEvaluator::crossedTrigger(store_->triggers(), now->day,
                                                                        *previousMinute, now->minute)) {
        apply(*trigger);
    }
}

void BrightnessController::applyWakeTrigger() {
    if (isPreviewing_ || !store_) {
        return;
    }
    const Date now = clock_.now();
    if (lastWakeApplyAt_) {
        // A wall clock set back must not silence wake handling until it catches up again.
        const double elapsed = now.secondsSince(*lastWakeApplyAt_);
        if (elapsed >= 0 && elapsed < kWakeDebounceSeconds) {
            return;
        }
    }
    const auto today = dayAndMinute();
    if (!today) {
        return;
    }
    if (lastWakeApplyAt_ != now) {
        lastWakeApplyAt_ = now;
        emit lastWakeApplyAtChanged();
    }
    recordEvaluation(*today);
    if (const auto trigger =
            BrightnessTriggerEvaluator::dueWakeTrigger(store_->triggers(), today->day, today->minute)) {
        apply(*trigger);
    }
}

void BrightnessController::applyCurrentTrigger() {
    if (isPreviewing_ || !store_) {
        return;
    }
    const auto now = dayAndMinute();
    if (!now) {
        return;
    }
    recordEvaluation(*now);
    setLastAppliedTriggerID(std::nullopt);
    if (const auto trigger =
            BrightnessTriggerEvaluator::dueTrigger(store_->triggers(), now->day, now->minute)) {
        apply(*trigger);
    }
}

void BrightnessController::apply(const BrightnessTrigger& trigger) {
    qCDebug(lcBrightness, "Applying brightness trigger at %s", trigger.formattedTime().c_str());
    setLastAppliedTriggerID(trigger.id());
    setLevels(trigger.displayBrightness());
}

void BrightnessController::preview(const std::map<std::string, double>& levels) {
    setIsPreviewing(true);
    setLevels(levels);
}

void BrightnessController::applyNow(const BrightnessTrigger& trigger) {
    setLevels(trigger.displayBrightness());
}

void BrightnessController::setLevels(const std::map<std::string, double>& levels) {
    for (const DisplayInfo& display : connectedDisplays_) {
        const auto it = levels.find(display.name);
        if (it == levels.end()) {
            continue;
        }
        // Narrowing a double beyond float's range is undefined; the back end clamps to 0...1 anyway, and
        // refuses what is not a number.
        const double value = it->second;
        const float level = std::isfinite(value) ? static_cast<float>(std::clamp(value, -1.0, 2.0))
                                                 : std::numeric_limits<float>::quiet_NaN();
        writes_.setBrightness(display.displayID, level);
    }
}

} // namespace kivo
