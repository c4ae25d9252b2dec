#pragma once

#include <cstdint>
#include <optional>

namespace kivo {

// The platform's own brightness control (a panel backlight, for instance). A missing service answers every
// call as failed.
class SystemBrightnessService {
public:
    virtual ~SystemBrightnessService() = default;

    virtual bool canChangeBrightness(std::uint32_t displayID) = 0;
    // The level 0 to 1, or none when it cannot be read.
    virtual std::optional<float> brightness(std::uint32_t displayID) = 0;
    virtual bool setBrightness(std::uint32_t displayID, float level) = 0;
    // Tells the platform a level was set, so its own indicators follow; optional to act on.
    virtual void brightnessChanged(std::uint32_t displayID, double level) = 0;
};

} // namespace kivo
