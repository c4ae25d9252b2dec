#pragma once

#include "brightness-library/ports/DisplayListSource.h"
#include "brightness-library/ports/SystemBrightnessService.h"
#include "platform/linux/BacklightWriter.h"
#include "platform/linux/PosixFileIo.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace kivo {

// Brightness through the kernel's backlight class. A display uses the backlight device that belongs to its
// connector; a built-in panel whose connector has none uses the machine's panel backlight. Levels are read
// from actual_brightness/max_brightness and written to brightness, or, when that file is not writable, by
// the injected writer.
class LinuxBacklightService final : public SystemBrightnessService {
public:
    LinuxBacklightService(std::filesystem::path root, std::shared_ptr<DisplayListSource> displays,
                          std::shared_ptr<PosixFileIo> io, std::shared_ptr<BacklightWriter> writer);

    bool canChangeBrightness(std::uint32_t displayID) override;
    std::optional<float> brightness(std::uint32_t displayID) override;
    bool setBrightness(std::uint32_t displayID, float level) override;
    void brightnessChanged(std::uint32_t displayID, double level) override;

    // The backlight device serving the display, by its name under /sys/class/backlight.
    std::optional<std::string> deviceFor(std::uint32_t displayID);

private:
    std::filesystem::path root_;
    std::shared_ptr<DisplayListSource> displays_;
    std::shared_ptr<PosixFileIo> io_;
    std::shared_ptr<BacklightWriter> writer_;
};

} // namespace kivo
