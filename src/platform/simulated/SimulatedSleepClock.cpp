#include "platform/simulated/SimulatedSleepClock.h"

namespace kivo {

SleepClock::Instant SimulatedSleepClock::now() {
    std::lock_guard lock(mutex_);
    return now_;
}

void SimulatedSleepClock::sleepFor(std::chrono::microseconds duration) {
    std::lock_guard lock(mutex_);
    sleeps_.push_back(duration);
    now_ += duration;
}

void SimulatedSleepClock::advance(std::chrono::microseconds duration) {
    std::lock_guard lock(mutex_);
    now_ += duration;
}

std::vector<std::chrono::microseconds> SimulatedSleepClock::sleeps() const {
    std::lock_guard lock(mutex_);
    return sleeps_;
}

void SimulatedSleepClock::clearSleeps() {
    std::lock_guard lock(mutex_);
    sleeps_.clear();
}

} // namespace kivo
