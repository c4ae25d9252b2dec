#pragma once

#include "core/Clock.h"
#include "core/TimerFactory.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace kivo {

// A clock that moves only when told to, and the timers that run on it. advance() moves time forward and
// fires every timer that falls due on the way, in order of due time, with the clock set to each due time.
// Local time is the wall clock shifted by a fixed offset, so tests do not depend on the machine's zone.
class ManualClock final : public Clock, public TimerFactory {
public:
    // Starts at 2026-01-05 09:00:00 local time (a Monday) unless told otherwise.
    ManualClock();
    explicit ManualClock(Date start, int utcOffsetSeconds = 0);
    ~ManualClock() override;

    Date now() const override { return now_; }
    LocalTime localTime() const override;
    Instant monotonicNow() const override { return monotonic_; }

    void setUtcOffsetSeconds(int seconds) { utcOffsetSeconds_ = seconds; }
    // Jumps the wall clock (like a user changing the time); the monotonic clock and timers do not move.
    void setNow(Date date) { now_ = date; }
    // Sets the wall clock to the given local date and time, keeping the offset.
    void setLocal(int year, int month, int day, int hour, int minute, int second = 0);

    void advance(std::chrono::milliseconds duration);
    // Advances just far enough to fire the next due timer; false when no timer is active.
    bool advanceToNextTimer();

    std::unique_ptr<Timer> createTimer() override;
    int activeTimerCount() const;

private:
    class ManualTimer;
    friend class ManualTimer;

    Date now_;
    Instant monotonic_{};
    int utcOffsetSeconds_ = 0;
    std::vector<ManualTimer*> timers_;
    std::uint64_t sequence_ = 0;
};

} // namespace kivo
