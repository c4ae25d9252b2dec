#include "domain/DayOfWeekGroups.h"

namespace kivo::DayOfWeekGroups {

// Function-local statics: built once, on first use, safely under concurrent first calls.
const DaySet& weekdays() {
    static const DaySet days = {DayOfWeek::monday, DayOfWeek::tuesday, DayOfWeek::wednesday,
                                DayOfWeek::thursday, DayOfWeek::friday};
    return days;
}

const DaySet& weekend() {
    static const DaySet days = {DayOfWeek::saturday, DayOfWeek::sunday};
    return days;
}

const DaySet& allDays() {
    static const DaySet days(allDaysOfWeek().begin(), allDaysOfWeek().end());
    return days;
}

} // namespace kivo::DayOfWeekGroups
