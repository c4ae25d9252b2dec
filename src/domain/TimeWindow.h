#pragma once

#include "domain/Json.h"

#include <cstdint>

namespace kivo {

// A stretch of the day in minutes from midnight; the end is exclusive. Equal ends mean the whole day; a
// start after the end runs past midnight, both parts judged on the same weekday.
struct TimeWindow {
    std::int64_t startMinute = 0;
    std::int64_t endMinute = 0;

    bool contains(std::int64_t minuteOfDay) const;

    Json::Value toJson() const;
    static Result<TimeWindow> fromJson(const Json::Value& v);

    friend bool operator==(const TimeWindow&, const TimeWindow&) = default;
};

} // namespace kivo
