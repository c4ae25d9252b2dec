#pragma once

#include "domain/Date.h"

#include <chrono>
#include <ctime>

namespace kivo {

// The local calendar reading of one instant.
struct LocalTime {
    int year = 2001;
    int month = 1;       // 1-12
    int day = 1;         // 1-31
    int weekday = 2;     // 1-7, Sunday = 1
    int minuteOfDay = 0; // 0-1439
    int second = 0;      // 0-59 (60 on a leap second)

    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// The calendar fields of a broken-down time, as LocalTime counts them.
LocalTime localTimeFromTm(const std::tm& tm);

// Every reading of the time goes through this port, so tests can move time by hand.
class Clock {
public:
    using Instant = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual Date now() const = 0;            // wall-clock date
    virtual LocalTime localTime() const = 0; // local calendar of now()
    virtual Instant monotonicNow() const = 0;
};

} // namespace kivo
