#pragma once

#include "core/TimerFactory.h"

namespace kivo {

// Real timers on the Qt event loop of the calling thread.
class QtTimerFactory final : public TimerFactory {
public:
    std::unique_ptr<Timer> createTimer() override;
};

} // namespace kivo
