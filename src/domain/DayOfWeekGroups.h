#pragma once

#include "domain/DayOfWeek.h"

namespace kivo {

// The named day sets that schedule and trigger summaries use instead of listing the days.
namespace DayOfWeekGroups {

const DaySet& weekdays(); // Monday to Friday
const DaySet& weekend();  // Saturday and Sunday
const DaySet& allDays();

} // namespace DayOfWeekGroups
} // namespace kivo
