#pragma once

#include "core/Clock.h"

namespace kivo {

// The machine's clocks, with the local time zone read afresh (tzset) on every call.
class SystemClock final : public Clock {
public:
    Date now() const override;
    LocalTime localTime() const override;
    Instant monotonicNow() const override;

    // The local calendar of any date in the current time zone.
    static LocalTime localTimeOf(Date date);
};

} // namespace kivo
