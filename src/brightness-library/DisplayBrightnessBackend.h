#pragma once

#include "brightness-library/DimwellResult.h"
#include "brightness-library/DisplayBrightnessCapability.h"
#include "brightness-library/DisplayInfo.h"

#include <cstdint>
#include <vector>

namespace kivo {

// What the application sees of the displays: list them, and read and set each one's level (0 to 1).
// Calls are synchronous and may block on I/O; the per-display operations are safe to call from several
// threads at once (one per display).
class DisplayBrightnessBackend {
public:
    virtual ~DisplayBrightnessBackend() = default;

    virtual std::vector<DisplayInfo> connectedDisplays() = 0;
    virtual DisplayBrightnessCapability capability(std::uint32_t displayID) = 0;
    virtual DimwellResult<float> brightness(std::uint32_t displayID) = 0;
    virtual DimwellResult<void> setBrightness(std::uint32_t displayID, float level) = 0;
};

} // namespace kivo
