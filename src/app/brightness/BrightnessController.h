#pragma once

#include "app/brightness/BrightnessTriggerStore.h"
#include "app/brightness/BrightnessWriteQueue.h"
#include "app/brightness/DisplayChangeSource.h"
#include "app/brightness/SystemWakeSource.h"
#include "brightness-library/DisplayBrightnessBackend.h"
#include "core/Clock.h"
#include "core/Timer.h"
#include "core/TimerFactory.h"
#include "domain/BrightnessTrigger.h"
#include "domain/Date.h"
#include "domain/DayOfWeek.h"
#include "domain/Uuid.h"

#include <QObject>
#include <QPointer>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

// Applies the brightness triggers to the connected displays: once a minute the trigger whose time was just
// passed, after wake the latest due trigger marked for wake, and on request the trigger due now. It also
// carries the live display list for the screens and lets the trigger editor preview levels.
//
// Lives on the main thread and never blocks it: levels go to the displays through a write queue with one
// serial worker per display. Levels are keyed by display name; every connected display with that name gets
// the level. Failures are dropped display by display.
class BrightnessController : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kTickInterval{60'000};
    static constexpr double kWakeDebounceSeconds = 5.0;

    BrightnessController(std::shared_ptr<DisplayBrightnessBackend> backend, const Clock& clock,
                         TimerFactory& timers, SystemWakeSource& wake, DisplayChangeSource& displayChanges,
                         QObject* parent = nullptr);
    ~BrightnessController() override;

    // Takes the store, reads the displays, starts the minute timer (one tick at once, which only records the
    // time), watches display changes and wake, and applies the wake trigger once.
    void start(BrightnessTriggerStore* store);
    // Re-applies the trigger due now; nothing while previewing or before a store is set.
    void applyCurrentTrigger();
    // Enters previewing and sets the given levels (display name to level).
    void preview(const std::map<std::string, double>& levels);
    // Sets the trigger's levels and nothing else, also while previewing.
    void applyNow(const BrightnessTrigger& trigger);

    BrightnessTriggerStore* store() const { return store_; }
    // Every assignment is announced, also of the same store: observers re-read the triggers.
    void setStore(BrightnessTriggerStore* store);
    bool isPreviewing() const { return isPreviewing_; }
    void setIsPreviewing(bool previewing);
    const std::vector<DisplayInfo>& connectedDisplays() const { return connectedDisplays_; }
    std::optional<DayOfWeek> lastEvaluatedDay() const { return lastEvaluatedDay_; }
    std::optional<std::int64_t> lastEvaluatedMinute() const { return lastEvaluatedMinute_; }
    std::optional<Date> lastWakeApplyAt() const { return lastWakeApplyAt_; }
    std::optional<Uuid> lastAppliedTriggerID() const { return lastAppliedTriggerID_; }
    bool isStarted() const { return timer_ != nullptr; }
    // True while levels are still on their way to the displays.
    bool isApplying() const { return !writes_.isIdle(); }

signals:
    void storeChanged();
    void isPreviewingChanged();
    void connectedDisplaysChanged();
    void lastEvaluatedDayChanged();
    void lastEvaluatedMinuteChanged();
    void lastWakeApplyAtChanged();
    void lastAppliedTriggerIDChanged();

private:
    struct DayAndMinute {
        DayOfWeek day;
        std::int64_t minute;
    };

    void tick();
    void applyWakeTrigger();
    void apply(const BrightnessTrigger& trigger);
    void setLevels(const std::map<std::string, double>& levels);
    std::optional<DayAndMinute> dayAndMinute() const;
    // A callback for the timer and the sources: runs `step` on this controller while it still exists.
    std::function<void()> whileAlive(void (BrightnessController::*step)());
    void refreshDisplays();
    void recordEvaluation(DayAndMinute now);
    void setLastAppliedTriggerID(std::optional<Uuid> id);

    std::shared_ptr<DisplayBrightnessBackend> backend_;
    const Clock& clock_;
    TimerFactory& timers_;
    SystemWakeSource& wake_;
    DisplayChangeSource& displayChanges_;
    BrightnessWriteQueue writes_;

    std::unique_ptr<Timer> timer_;
    QPointer<BrightnessTriggerStore> store_;
    std::optional<DayOfWeek> lastEvaluatedDay_;
    std::optional<std::int64_t> lastEvaluatedMinute_;
    std::optional<Uuid> lastAppliedTriggerID_;
    std::optional<Date> lastWakeApplyAt_;
    bool isPreviewing_ = false;
    std::vector<DisplayInfo> connectedDisplays_;
};

} // namespace kivo
