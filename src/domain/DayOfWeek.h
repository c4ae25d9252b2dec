#pragma once

#include "domain/Json.h"

#include <array>
#include <cstdint>
#include <optional>
#include <set>

namespace kivo {

// A weekday, numbered as the Gregorian calendar numbers them (1 = Sunday), so a calendar weekday converts
// by its number. Ordered by number: Sunday is the least day, Saturday the greatest.
enum class DayOfWeek : int {
    sunday = 1,
    monday = 2,
    tuesday = 3,
    wednesday = 4,
    thursday = 5,
    friday = 6,
    saturday = 7,
};

using DaySet = std::set<DayOfWeek>;

// The day for a number from 1 to 7; none for any other number.
std::optional<DayOfWeek> dayOfWeekFromRawValue(std::int64_t rawValue);
inline int rawValue(DayOfWeek day) {
    return static_cast<int>(day);
}
// Every day in declaration order, Sunday first.
const std::array<DayOfWeek, 7>& allDaysOfWeek();

// Stored as its number.
Json::Value jsonEncode(DayOfWeek day);
Result<DayOfWeek> jsonDecode(const Json::Value& v, DayOfWeek*);

} // namespace kivo
