#pragma once

#include <cstdint>
#include <string>

namespace kivo {

// One connected display as the brightness back end lists it.
struct DisplayInfo {
    std::uint32_t displayID = 0;
    bool isBuiltin = false;
    // The monitor's own name, or "Display " and the identifier when it reports none.
    std::string name;

    friend bool operator==(const DisplayInfo&, const DisplayInfo&) = default;
};

} // namespace kivo
