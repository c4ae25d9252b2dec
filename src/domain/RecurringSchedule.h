#pragma once

#include "domain/DayOfWeek.h"
#include "domain/Json.h"
#include "domain/TimeWindow.h"

#include <cstdint>
#include <vector>

namespace kivo {

// Weekdays plus windows of the day. An empty day set or window list is never active.
struct RecurringSchedule {
    // The editor offers no more windows than this; construction and decoding do not enforce it.
    static constexpr int maxTimeWindows = 4;

    DaySet daysOfWeek;
    std::vector<TimeWindow> timeWindows;

    bool isActive(DayOfWeek day, std::int64_t minuteOfDay) const;
    // Seven days and a single whole-day window: summarised like "always".
    bool isAllDayEveryDay() const;

    Json::Value toJson() const;
    static Result<RecurringSchedule> fromJson(const Json::Value& v);

    friend bool operator==(const RecurringSchedule&, const RecurringSchedule&) = default;
};

} // namespace kivo
