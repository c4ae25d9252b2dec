#pragma once

#include "platform/linux/BacklightWriter.h"

namespace kivo {

// Asks logind to set a backlight for the current session (SetBrightness on the session object), which it
// allows the logged-in user without root rights.
class LogindBacklightWriter final : public BacklightWriter {
public:
    bool setBrightness(const std::string& device, std::uint32_t value) override;
};

} // namespace kivo
