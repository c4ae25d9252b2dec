#pragma once

#include <chrono>

namespace kivo {

// Time as the DDC pacing sees it: a monotonic instant and a blocking wait. Tests substitute a clock whose
// waits only move time.
class SleepClock {
public:
    using Instant = std::chrono::steady_clock::time_point;

    virtual ~SleepClock() = default;
    virtual Instant now() = 0;
    virtual void sleepFor(std::chrono::microseconds duration) = 0;
};

} // namespace kivo
