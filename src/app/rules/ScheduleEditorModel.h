#pragma once

#include "domain/BlockSchedule.h"
#include "domain/DayOfWeek.h"
#include "domain/TimeWindow.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace kivo {

// The schedule section of the group sheet. It is filled once from the sheet's schedule and keeps days and
// windows while "always" is chosen, so switching back shows them again; every change the user makes
// returns the whole schedule for the sheet to keep. Nothing is validated: the evaluator gives every
// combination a meaning.
class ScheduleEditorModel {
public:
    static constexpr TimeWindow defaultWindow{540, 1020};
    static constexpr std::size_t maxWindows = 4;

    explicit ScheduleEditorModel(const BlockSchedule& schedule);

    bool isAlways() const { return isAlways_; }
    const DaySet& selectedDays() const { return selectedDays_; }
    const std::vector<TimeWindow>& timeWindows() const { return timeWindows_; }
    bool canAddTimeWindow() const { return timeWindows_.size() < maxWindows; }
    bool canRemoveTimeWindow() const { return timeWindows_.size() >= 2; }

    BlockSchedule schedule() const;
    // Nothing when that mode is already chosen.
    std::optional<BlockSchedule> setAlways(bool always);
    BlockSchedule setSelectedDays(DaySet days);
    BlockSchedule addTimeWindow();
    // An index outside the list changes nothing.
    BlockSchedule removeTimeWindow(std::size_t index);
    BlockSchedule setWindowStart(std::size_t index, std::int64_t minute);
    BlockSchedule setWindowEnd(std::size_t index, std::int64_t minute);

private:
    bool isAlways_ = true;
    DaySet selectedDays_;
    std::vector<TimeWindow> timeWindows_;
};

} // namespace kivo
