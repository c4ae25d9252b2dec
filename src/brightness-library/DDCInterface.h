#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kivo {

// Raw DDC/CI exchanges with one display's monitor.
class DDCInterface {
public:
    virtual ~DDCInterface() = default;

    // True when the display has a DDC channel that opens.
    virtual bool hasService(std::uint32_t displayID) = 0;
    // Sends Get VCP Feature and returns the reply's bytes as read, or none.
    virtual std::optional<std::vector<std::uint8_t>> readVCP(std::uint32_t displayID, std::uint8_t code) = 0;
    // Sends Set VCP Feature; true when the write went out whole.
    virtual bool writeVCP(std::uint32_t displayID, std::uint8_t code, std::uint16_t value) = 0;
};

} // namespace kivo
