#pragma once

#include "app/language/LocalizedString.h"
#include "domain/DayOfWeek.h"

#include <array>
#include <optional>

namespace kivo {

// The day picker shared by the schedule editor and the trigger sheet: seven buttons, Monday first
// whatever the locale; a tap adds or removes its day but never removes the last one.
namespace DayOfWeekSelection {

const std::array<DayOfWeek, 7>& dayOrder();
// The set after a tap on `day`; none when the tap changes nothing (the last chosen day).
std::optional<DaySet> toggled(const DaySet& days, DayOfWeek day);
const LocalizedString& shortName(DayOfWeek day);
const LocalizedString& fullName(DayOfWeek day);

} // namespace DayOfWeekSelection
} // namespace kivo
