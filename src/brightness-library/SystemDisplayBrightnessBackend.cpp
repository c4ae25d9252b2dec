#include "brightness-library/SystemDisplayBrightnessBackend.h"

#include "brightness-library/ConnectorDDC.h"

#include <algorithm>
#include <cmath>

namespace kivo {

SystemDisplayBrightnessBackend::SystemDisplayBrightnessBackend(
    std::shared_ptr<DisplayListSource> displays, std::shared_ptr<SystemBrightnessService> displayServices,
    std::shared_ptr<I2CTransport> transport, std::shared_ptr<SleepClock> clock)
    : displays_(displays), displayServices_(std::move(displayServices)),
      ddc_(std::make_shared<ConnectorDDC>(displays, std::move(transport), std::move(clock))) {}

std::vector<DisplayInfo> SystemDisplayBrightnessBackend::connectedDisplays() {
    const auto list = displays_->activeDisplays();
    std::vector<DisplayInfo> result;
    if (!list) {
        return result;
    }
    for (const ActiveDisplay& display : *list) {
        if (result.size() == kMaximumDisplays) {
            break;
        }
        result.push_back(DisplayInfo{display.displayID, display.isBuiltin,
                                     display.name.value_or("Display " + std::to_string(display.displayID))});
    }
    return result;
}

SystemDisplayBrightnessBackend::Path SystemDisplayBrightnessBackend::path(std::uint32_t displayID) {
    const auto display = displays_->activeDisplay(displayID);
    if (display && display->isBuiltin) {
        return Path::system;
    }
    if (displayServices_->canChangeBrightness(displayID)) {
        return Path::system;
    }
    if (ddc_.interface().hasService(displayID)) {
        return Path::ddc;
    }
    return Path::unsupported;
}

DisplayBrightnessCapability SystemDisplayBrightnessBackend::capability(std::uint32_t displayID) {
    switch (path(displayID)) {
    case Path::system:
        return {true, DisplayBrightnessCapability::Backend::displayServices};
    case Path::ddc:
        return {true, DisplayBrightnessCapability::Backend::ddc};
    case Path::unsupported:
        break;
    }
    return {false, DisplayBrightnessCapability::Backend::unsupported};
}

DimwellResult<float> SystemDisplayBrightnessBackend::brightness(std::uint32_t displayID) {
    switch (path(displayID)) {
    case Path::system:
        if (const auto level = displayServices_->brightness(displayID)) {
            return *level;
        }
        return DimwellError::readFailed(displayID);
    case Path::ddc:
        if (const auto level = ddc_.brightness(displayID)) {
            return *level;
        }
        return DimwellError::readFailed(displayID);
    case Path::unsupported:
        break;
    }
    return DimwellError::notSupported(displayID);
}

DimwellResult<void> SystemDisplayBrightnessBackend::setBrightness(std::uint32_t displayID, float level) {
    // Clamping NaN gives NaN, and casting it to a register value is undefined: refuse it outright.
    if (!std::isfinite(level)) {
        return DimwellError::writeFailed(displayID);
    }
    level = std::clamp(level, 0.0f, 1.0f);
    switch (path(displayID)) {
    case Path::system:
        if (!displayServices_->setBrightness(displayID, level)) {
            return DimwellError::writeFailed(displayID);
        }
        displayServices_->brightnessChanged(displayID, static_cast<double>(level));
        return {};
    case Path::ddc:
        if (!ddc_.setBrightness(displayID, level)) {
            return DimwellError::writeFailed(displayID);
        }
        return {};
    case Path::unsupported:
        break;
    }
    return DimwellError::notSupported(displayID);
}

DisplayDiagnostics SystemDisplayBrightnessBackend::diagnostics(std::uint32_t displayID) {
    DisplayDiagnostics result;
    result.displayID = displayID;
    if (const auto reading = ddc_.rawReading(displayID)) {
        result.ddcBrightness = DDCBrightness::level(*reading);
        result.ddcMax = reading->maximum;
    }
    const auto display = displays_->activeDisplay(displayID);
    result.isBuiltin = display && display->isBuiltin;
    result.canUseDisplayServices = result.isBuiltin || displayServices_->canChangeBrightness(displayID);
    if (display) {
        result.vendor = display->vendor;
        result.model = display->model;
    }
    result.displayServicesBrightness = displayServices_->brightness(displayID);
    return result;
}

} // namespace kivo
