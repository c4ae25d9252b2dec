#include "app/rules/ScheduleEditorModel.h"

#include "domain/DayOfWeekGroups.h"
#include "domain/RecurringSchedule.h"

namespace kivo {

ScheduleEditorModel::ScheduleEditorModel(const BlockSchedule& schedule) {
    if (const auto* recurring = schedule.recurringSchedule()) {
        isAlways_ = false;
        selectedDays_ = recurring->daysOfWeek;
        timeWindows_ = recurring->timeWindows;
    } else {
        selectedDays_ = DayOfWeekGroups::weekdays();
        timeWindows_ = {defaultWindow};
    }
}

BlockSchedule ScheduleEditorModel::schedule() const {
    if (isAlways_) {
        return BlockSchedule::always();
    }
    return BlockSchedule::recurring(RecurringSchedule{selectedDays_, timeWindows_});
}

std::optional<BlockSchedule> ScheduleEditorModel::setAlways(bool always) {
    if (always == isAlways_) {
        return std::nullopt;
    }
    isAlways_ = always;
    return schedule();
}

BlockSchedule ScheduleEditorModel::setSelectedDays(DaySet days) {
    selectedDays_ = std::move(days);
    return schedule();
}

BlockSchedule ScheduleEditorModel::addTimeWindow() {
    if (canAddTimeWindow()) {
        timeWindows_.push_back(defaultWindow);
    }
    return schedule();
}

BlockSchedule ScheduleEditorModel::removeTimeWindow(std::size_t index) {
    if (index < timeWindows_.size()) {
        timeWindows_.erase(timeWindows_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    return schedule();
}

BlockSchedule ScheduleEditorModel::setWindowStart(std::size_t index, std::int64_t minute) {
    if (index < timeWindows_.size()) {
        timeWindows_[index].startMinute = minute;
    }
    return schedule();
}

BlockSchedule ScheduleEditorModel::setWindowEnd(std::size_t index, std::int64_t minute) {
    if (index < timeWindows_.size()) {
        timeWindows_[index].endMinute = minute;
    }
    return schedule();
}

} // namespace kivo
