#pragma once

#include "brightness-library/ports/SleepClock.h"

namespace kivo {

// The machine's monotonic clock and a real wait.
class SteadySleepClock final : public SleepClock {
public:
    Instant now() override { return std::chrono::steady_clock::now(); }
    void sleepFor(std::chrono::microseconds duration) override;
};

} // namespace kivo
