#pragma once

#include "brightness-library/ports/DisplayListSource.h"
#include "brightness-library/ports/SystemBrightnessService.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace kivo {

// Displays as the platform lists them, and the system brightness service that serves some of them.
class SimulatedDisplays final : public DisplayListSource, public SystemBrightnessService {
public:
    struct Display {
        ActiveDisplay info;
        bool serviceAccepts = false;  // answers "can change brightness" (built-in panels need not)
        bool serviceAvailable = true; // false: the service has nothing for this display
        std::optional<float> level = 0.5f;
        bool readFails = false;
        bool writeFails = false;
    };
    struct ServiceCall {
        enum class Kind { canChange, read, write, changed };
        Kind kind;
        std::uint32_t displayID;
        double level = 0;

        friend bool operator==(const ServiceCall&, const ServiceCall&) = default;
    };

    void add(Display display);
    void remove(std::uint32_t displayID);
    void setListFails(bool fails);
    Display& display(std::uint32_t displayID); // only while no other thread uses the displays

    std::optional<std::vector<ActiveDisplay>> activeDisplays() override;
    bool canChangeBrightness(std::uint32_t displayID) override;
    std::optional<float> brightness(std::uint32_t displayID) override;
    bool setBrightness(std::uint32_t displayID, float level) override;
    void brightnessChanged(std::uint32_t displayID, double level) override;

    std::optional<float> level(std::uint32_t displayID) const;
    std::vector<ServiceCall> calls() const;
    void clearCalls();

private:
    Display* find(std::uint32_t displayID);

    mutable std::mutex mutex_;
    std::vector<Display> displays_;
    bool listFails_ = false;
    std::vector<ServiceCall> calls_;
};

} // namespace kivo
