#pragma once

namespace kivo {

// Whether a display's brightness can be changed, and through which transport.
struct DisplayBrightnessCapability {
    enum class Backend { displayServices, ddc, unsupported };

    bool isSupported = false;
    Backend backend = Backend::unsupported;

    friend bool operator==(const DisplayBrightnessCapability&, const DisplayBrightnessCapability&) = default;
};

} // namespace kivo
