#pragma once

#include "brightness-library/SystemDisplayBrightnessBackend.h"
#include "platform/linux/BacklightWriter.h"

#include <filesystem>
#include <memory>

namespace kivo {

// The display brightness back end of a Linux desktop: DRM connectors, the backlight class (through logind
// where the file is root's) and i2c-dev, with real waits.
namespace LinuxBrightnessBackend {

std::shared_ptr<SystemDisplayBrightnessBackend> make(std::shared_ptr<BacklightWriter> writer = nullptr,
                                                     const std::filesystem::path& root = "/");

} // namespace LinuxBrightnessBackend
} // namespace kivo
