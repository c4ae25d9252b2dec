#pragma once

#include <compare>

namespace kivo {

// A point in wall-clock time, kept the way stored records keep it: seconds since 2001-01-01T00:00:00Z.
struct Date {
    double secondsSinceReferenceDate = 0;

    // Seconds between 1970-01-01 and 2001-01-01.
    static constexpr double referenceDateUnixOffset = 978307200.0;

    static Date fromUnixSeconds(double unixSeconds) { return Date{unixSeconds - referenceDateUnixOffset}; }
    double unixSeconds() const { return secondsSinceReferenceDate + referenceDateUnixOffset; }
    Date addingSeconds(double seconds) const { return Date{secondsSinceReferenceDate + seconds}; }
    double secondsSince(Date other) const {
        return secondsSinceReferenceDate - other.secondsSinceReferenceDate;
    }

    friend bool operator==(const Date&, const Date&) = default;
    friend auto operator<=>(const Date&, const Date&) = default;
};

} // namespace kivo
