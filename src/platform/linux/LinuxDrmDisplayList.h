#pragma once

#include "brightness-library/ports/DisplayListSource.h"

#include <filesystem>
#include <string>

namespace kivo {

// The displays of the kernel's DRM connectors (/sys/class/drm/card*-*) that are connected and enabled.
// A connector keeps its identifier for as long as it exists, so a display keeps its identifier across
// unplugging and across restarts.
class LinuxDrmDisplayList final : public DisplayListSource {
public:
    // `root` stands for "/" (tests pass a directory holding a fake tree).
    explicit LinuxDrmDisplayList(std::filesystem::path root = "/");

    std::optional<std::vector<ActiveDisplay>> activeDisplays() override;

    // eDP, LVDS and DSI connectors drive built-in panels.
    static bool isBuiltinConnector(const std::string& connector);
    static std::uint32_t identifierFor(const std::string& connector);

private:
    std::filesystem::path root_;
};

} // namespace kivo
