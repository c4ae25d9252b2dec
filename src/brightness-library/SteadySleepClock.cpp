#include "brightness-library/SteadySleepClock.h"

#include <thread>

namespace kivo {

void SteadySleepClock::sleepFor(std::chrono::microseconds duration) {
    std::this_thread::sleep_for(duration);
}

} // namespace kivo
