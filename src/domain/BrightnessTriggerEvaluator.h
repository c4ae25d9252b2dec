#pragma once

#include "domain/BrightnessTrigger.h"
#include "domain/DayOfWeek.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kivo {

// Which trigger is in force, as pure functions of a weekday and minutes of the day. Only the given day is
// looked at: before that day's first trigger the answer is none, whatever fired the evening before.
// Among passing triggers the latest time wins, and among equal times the one earlier in the list.
namespace BrightnessTriggerEvaluator {

// The enabled trigger of `day` with the latest time at or before `minute`.
std::optional<BrightnessTrigger> dueTrigger(const std::vector<BrightnessTrigger>& triggers, DayOfWeek day,
                                            std::int64_t minute);

// The same choice among the triggers that apply on wake.
std::optional<BrightnessTrigger> dueWakeTrigger(const std::vector<BrightnessTrigger>& triggers, DayOfWeek day,
                                                std::int64_t minute);

// The latest enabled trigger of `day` whose time lies in (previousMinute, currentMinute]; none when the
// range is empty. Delayed ticks that passed several trigger times get only the latest of them.
std::optional<BrightnessTrigger> crossedTrigger(const std::vector<BrightnessTrigger>& triggers, DayOfWeek day,
                                                std::int64_t previousMinute, std::int64_t currentMinute);

} // namespace BrightnessTriggerEvaluator
} // namespace kivo
