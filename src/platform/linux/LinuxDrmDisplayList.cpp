#include "platform/linux/LinuxDrmDisplayList.h"

#include "brightness-library/Edid.h"
#include "platform/linux/SysfsFiles.h"

#include <algorithm>
#include <regex>
#include <system_error>

namespace kivo {

namespace {
const std::regex kConnectorName{"card[0-9]+-(.+)"};
} // namespace

LinuxDrmDisplayList::LinuxDrmDisplayList(std::filesystem::path root) : root_(std::move(root)) {}

bool LinuxDrmDisplayList::isBuiltinConnector(const std::string& connector) {
    std::smatch match;
    if (!std::regex_match(connector, match, kConnectorName)) {
        return false;
    }
    const std::string type = match[1];
    return type.rfind("eDP", 0) == 0 || type.rfind("LVDS", 0) == 0 || type.rfind("DSI", 0) == 0;
}

std::uint32_t LinuxDrmDisplayList::identifierFor(const std::string& connector,
                                                 const std::vector<std::uint8_t>& edid) {
    // FNV-1a of the connector name, then of the monitor's identity (EDID bytes 8-15: manufacturer, product
    // code, serial number), so the same monitor on the same connector always gives the same number.
    std::uint32_t hash = 2166136261u;
    const auto mix = [&](unsigned char c) {
        hash ^= c;
        hash *= 16777619u;
    };
    for (unsigned char c : connector) {
        mix(c);
    }
    if (edid.size() >= 16 && Edid::hasHeader(edid)) {
        for (std::size_t i = 8; i < 16; ++i) {
            mix(edid[i]);
        }
    }
    return hash == 0 ? 1 : hash;
}

std::optional<std::vector<ActiveDisplay>> LinuxDrmDisplayList::activeDisplays() {
    const auto drm = root_ / "sys/class/drm";
    const auto names = SysfsFiles::listNames(drm);
    if (!names) {
        return std::nullopt;
    }
    std::vector<ActiveDisplay> displays;
    for (const auto& connector : *names) {
        if (!std::regex_match(connector, kConnectorName)) {
            continue;
        }
        const auto dir = drm / connector;
        if (SysfsFiles::readText(dir / "status") != "connected" ||
            SysfsFiles::readText(dir / "enabled") != "enabled") {
            continue;
        }
        ActiveDisplay display;
        display.isBuiltin = isBuiltinConnector(connector);
        display.connector = connector;
        const auto edid = SysfsFiles::readBytes(dir / "edid").value_or(std::vector<std::uint8_t>{});
        display.displayID = identifierFor(connector, edid);
        if (Edid::hasHeader(edid)) {
            display.vendor = Edid::vendorNumber(edid).value_or(0);
            display.model = Edid::modelNumber(edid).value_or(0);
            display.name = Edid::monitorName(edid);
        }
        displays.push_back(std::move(display));
    }
    return displays;
}

} // namespace kivo
