#pragma once

#include "brightness-library/ports/SleepClock.h"

#include <mutex>
#include <vector>

namespace kivo {

// A clock whose waits only move its own time forward, at once, and are remembered.
class SimulatedSleepClock final : public SleepClock {
public:
    Instant now() override;
    void sleepFor(std::chrono::microseconds duration) override;

    void advance(std::chrono::microseconds duration);
    std::vector<std::chrono::microseconds> sleeps() const;
    void clearSleeps();

private:
    mutable std::mutex mutex_;
    Instant now_{std::chrono::hours(1)};
    std::vector<std::chrono::microseconds> sleeps_;
};

} // namespace kivo
