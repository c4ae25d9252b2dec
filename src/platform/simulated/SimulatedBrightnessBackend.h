#pragma once

#include "brightness-library/DisplayBrightnessBackend.h"

#include <map>
#include <mutex>

namespace kivo {

// Displays whose brightness is a number kept in memory; none until the test adds some.
class SimulatedBrightnessBackend final : public DisplayBrightnessBackend {
public:
    void addDisplay(DisplayInfo display, float level) {
        std::lock_guard lock(mutex_);
        displays_.push_back(display);
        levels_[display.displayID] = level;
    }
    std::vector<DisplayInfo> connectedDisplays() override {
        std::lock_guard lock(mutex_);
        return displays_;
    }
    DisplayBrightnessCapability capability(std::uint32_t) override {
        return {true, DisplayBrightnessCapability::Backend::ddc};
    }
    DimwellResult<float> brightness(std::uint32_t id) override {
        std::lock_guard lock(mutex_);
        return levels_[id];
    }
    DimwellResult<void> setBrightness(std::uint32_t id, float level) override {
        std::lock_guard lock(mutex_);
        levels_[id] = level;
        return {};
    }

private:
    std::mutex mutex_;
    std::vector<DisplayInfo> displays_;
    std::map<std::uint32_t, float> levels_;
};

} // namespace kivo
