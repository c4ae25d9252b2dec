#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kivo {

// One active display as the platform reports it.
struct ActiveDisplay {
    std::uint32_t displayID = 0;
    bool isBuiltin = false;
    // Vendor and model numbers in the EDID's terms: manufacturer id big-endian, product code little-endian.
    std::uint32_t vendor = 0;
    std::uint32_t model = 0;
    // The display's own name, when it reports one.
    std::optional<std::string> name;
    // The connector that drives the display; its DDC bus belongs to this display alone.
    std::string connector;

    friend bool operator==(const ActiveDisplay&, const ActiveDisplay&) = default;
};

} // namespace kivo
