#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

// One DDC channel that a connector offers.
struct DdcBusEntry {
    // Names the bus for pacing: transactions on one bus are spaced out, different buses run freely.
    std::string bus;
    // Where the channel leads; "embedded" or "internal" marks a built-in panel's link.
    std::string location;
    // The EDID seen on this channel, when there is one.
    std::optional<std::vector<std::uint8_t>> edid;

    friend bool operator==(const DdcBusEntry&, const DdcBusEntry&) = default;
};

} // namespace kivo
