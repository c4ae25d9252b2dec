#pragma once

#include "brightness-library/ports/ActiveDisplay.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace kivo {

// The platform's list of active displays, read afresh on every call.
class DisplayListSource {
public:
    virtual ~DisplayListSource() = default;

    // None when the list cannot be read.
    virtual std::optional<std::vector<ActiveDisplay>> activeDisplays() = 0;

    // The active display with that identifier; none when it is not active or the list cannot be read.
    std::optional<ActiveDisplay> activeDisplay(std::uint32_t displayID) {
        auto list = activeDisplays();
        if (!list) {
            return std::nullopt;
        }
        const auto it = std::find_if(list->begin(), list->end(),
                                     [&](const ActiveDisplay& d) { return d.displayID == displayID; });
        if (it == list->end()) {
            return std::nullopt;
        }
        return std::move(*it);
    }
};

} // namespace kivo
