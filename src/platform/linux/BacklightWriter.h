#pragma once

#include <cstdint>
#include <string>

namespace kivo {

// Sets a backlight on the user's behalf where its sysfs file is writable only by root (through the login
// manager's session, for instance). Called off the main thread; may block briefly.
class BacklightWriter {
public:
    virtual ~BacklightWriter() = default;
    // `device` is the name under /sys/class/backlight; `value` is in the device's raw units.
    virtual bool setBrightness(const std::string& device, std::uint32_t value) = 0;
};

} // namespace kivo
