#pragma once

#include "brightness-library/ports/ActiveDisplay.h"

#include <optional>
#include <vector>

namespace kivo {

// The platform's list of active displays, read afresh on every call.
class DisplayListSource {
public:
    virtual ~DisplayListSource() = default;

    // None when the list cannot be read.
    virtual std::optional<std::vector<ActiveDisplay>> activeDisplays() = 0;
};

} // namespace kivo
