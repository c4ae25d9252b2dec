#pragma once

#include "brightness-library/DDCBrightness.h"
#include "brightness-library/DisplayBrightnessBackend.h"
#include "brightness-library/DisplayDiagnostics.h"
#include "brightness-library/ports/DisplayListSource.h"
#include "brightness-library/ports/I2CTransport.h"
#include "brightness-library/ports/SleepClock.h"
#include "brightness-library/ports/SystemBrightnessService.h"

#include <memory>

namespace kivo {

// The back end of the application: built-in displays, and external ones the system service accepts, go
// through that service; other external displays through DDC/CI on their connector; the rest are
// unsupported. A display on the system path never falls back to DDC.
class SystemDisplayBrightnessBackend final : public DisplayBrightnessBackend {
public:
    static constexpr std::size_t kMaximumDisplays = 16;

    SystemDisplayBrightnessBackend(std::shared_ptr<DisplayListSource> displays,
                                   std::shared_ptr<SystemBrightnessService> displayServices,
                                   std::shared_ptr<I2CTransport> transport,
                                   std::shared_ptr<SleepClock> clock);

    std::vector<DisplayInfo> connectedDisplays() override;
    DisplayBrightnessCapability capability(std::uint32_t displayID) override;
    DimwellResult<float> brightness(std::uint32_t displayID) override;
    DimwellResult<void> setBrightness(std::uint32_t displayID, float level) override;

    DisplayDiagnostics diagnostics(std::uint32_t displayID);

private:
    enum class Path { system, ddc, unsupported };

    Path path(std::uint32_t displayID);

    std::shared_ptr<DisplayListSource> displays_;
    std::shared_ptr<SystemBrightnessService> displayServices_;
    DDCBrightness ddc_;
};

} // namespace kivo
