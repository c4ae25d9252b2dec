#pragma once

#include "core/Timer.h"

#include <memory>

namespace kivo {

// Every timer is made here, so tests can substitute timers they fire by hand (see ManualClock).
class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<Timer> createTimer() = 0;
};

} // namespace kivo
