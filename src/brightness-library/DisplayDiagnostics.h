#pragma once

#include <cstdint>
#include <optional>

namespace kivo {

// Everything the library can find out about one display, for troubleshooting; reading it never fails.
struct DisplayDiagnostics {
    std::uint32_t displayID = 0;
    bool isBuiltin = false;
    bool canUseDisplayServices = false;
    std::uint32_t vendor = 0;
    std::uint32_t model = 0;
    std::optional<float> displayServicesBrightness;
    std::optional<float> ddcBrightness;
    std::optional<std::uint16_t> ddcMax;

    friend bool operator==(const DisplayDiagnostics&, const DisplayDiagnostics&) = default;
};

} // namespace kivo
