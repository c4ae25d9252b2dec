#include "core/SystemClock.h"

#include <cmath>
#include <ctime>

namespace kivo {

Date SystemClock::now() const {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return Date::fromUnixSeconds(std::chrono::duration<double>(since).count());
}

LocalTime SystemClock::localTime() const {
    return localTimeOf(now());
}

Clock::Instant SystemClock::monotonicNow() const {
    return std::chrono::steady_clock::now();
}

LocalTime SystemClock::localTimeOf(Date date) {
    tzset();
    const std::time_t t = static_cast<std::time_t>(std::floor(date.unixSeconds()));
    std::tm tm{};
    localtime_r(&t, &tm);
    return localTimeFromTm(tm);
}

LocalTime localTimeFromTm(const std::tm& tm) {
    LocalTime lt;
    lt.year = tm.tm_year + 1900;
    lt.month = tm.tm_mon + 1;
    lt.day = tm.tm_mday;
    lt.weekday = tm.tm_wday + 1;
    lt.minuteOfDay = tm.tm_hour * 60 + tm.tm_min;
    lt.second = tm.tm_sec;
    return lt;
}

} // namespace kivo
