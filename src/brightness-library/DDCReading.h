#pragma once

#include <cstdint>

namespace kivo {

// A VCP feature's value as the monitor reports it.
struct DDCReading {
    std::uint16_t current = 0;
    std::uint16_t maximum = 0;

    friend bool operator==(const DDCReading&, const DDCReading&) = default;
};

} // namespace kivo
