#pragma once

#include <cstdint>
#include <vector>

namespace kivo {

// An open I2C channel to a monitor's DDC/CI address (0x37). Closed when destroyed.
class I2CChannel {
public:
    virtual ~I2CChannel() = default;

    // Sends the bytes as one message; true only when every byte went out.
    virtual bool write(const std::vector<std::uint8_t>& bytes) = 0;
    // Reads exactly `into.size()` bytes; true only when all of them arrived.
    virtual bool read(std::vector<std::uint8_t>& into) = 0;
};

} // namespace kivo
