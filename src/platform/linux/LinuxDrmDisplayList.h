#pragma once

#include "brightness-library/ports/DisplayListSource.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kivo {

// The displays of the kernel's DRM connectors (/sys/class/drm/card*-*) that are connected and enabled.
// A display's identifier stands for its connector and the monitor on it (the EDID's manufacturer, product
// and serial number): the same monitor keeps its identifier across unplugging and restarts, while another
// monitor plugged into the same port is another display, with its own DDC maximum.
class LinuxDrmDisplayList final : public DisplayListSource {
public:
    // `root` stands for "/" (tests pass a directory holding a fake tree).
    explicit LinuxDrmDisplayList(std::filesystem::path root = "/");

    std::optional<std::vector<ActiveDisplay>> activeDisplays() override;

    // eDP, LVDS and DSI connectors drive built-in panels.
    static bool isBuiltinConnector(const std::string& connector);
    // `edid` is the connector's EDID; without a valid one the connector alone decides.
    static std::uint32_t identifierFor(const std::string& connector,
                                       const std::vector<std::uint8_t>& edid = {});

private:
    std::filesystem::path root_;
};

} // namespace kivo
