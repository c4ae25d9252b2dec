#include "platform/linux/LinuxBacklightService.h"

#include "platform/linux/SysfsFiles.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <system_error>
#include <vector>

namespace kivo {

namespace {

// The kernel's advice: firmware interfaces work best, raw register access least.
int typeRank(const std::optional<std::string>& type) {
    if (type == "firmware") {
        return 0;
    }
    if (type == "platform") {
        return 1;
    }
    if (type == "raw") {
        return 2;
    }
    return 3;
}

} // namespace

LinuxBacklightService::LinuxBacklightService(std::filesystem::path root,
                                             std::shared_ptr<DisplayListSource> displays,
                                             std::shared_ptr<PosixFileIo> io,
                                             std::shared_ptr<BacklightWriter> writer)
    : root_(std::move(root)), displays_(std::move(displays)), io_(std::move(io)), writer_(std::move(writer)) {
}

std::optional<std::string> LinuxBacklightService::deviceFor(std::uint32_t displayID) {
    const auto display = displays_->activeDisplay(displayID);
    if (!display) {
        return std::nullopt;
    }
    std::error_code error;
    const auto connectorDir = std::filesystem::canonical(root_ / "sys/class/drm" / display->connector, error);
    const bool haveConnector = !error;

    const std::vector<std::string> devices =
        SysfsFiles::listNames(root_ / "sys/class/backlight").value_or(std::vector<std::string>{});
    if (haveConnector) {
        for (const auto& device : devices) {
            std::error_code linkError;
            const auto parent =
                std::filesystem::canonical(root_ / "sys/class/backlight" / device / "device", linkError);
            if (!linkError && parent == connectorDir) {
                return device;
            }
        }
    }
    if (!display->isBuiltin) {
        return std::nullopt;
    }
    // Each device's type is read once; among equals the first in name order wins.
    std::optional<std::string> best;
    int bestRank = 0;
    for (const auto& device : devices) {
        const int rank = typeRank(SysfsFiles::readText(root_ / "sys/class/backlight" / device / "type"));
        if (!best || rank < bestRank) {
            best = device;
            bestRank = rank;
        }
    }
    return best;
}

bool LinuxBacklightService::canChangeBrightness(std::uint32_t displayID) {
    return deviceFor(displayID).has_value();
}

std::optional<float> LinuxBacklightService::brightness(std::uint32_t displayID) {
    const auto device = deviceFor(displayID);
    if (!device) {
        return std::nullopt;
    }
    const auto dir = root_ / "sys/class/backlight" / *device;
    const auto actual = SysfsFiles::readNumber(dir / "actual_brightness");
    const auto maximum = SysfsFiles::readNumber(dir / "max_brightness");
    if (!actual || !maximum || *maximum == 0) {
        return std::nullopt;
    }
    return std::min(static_cast<float>(*actual) / static_cast<float>(*maximum), 1.0f);
}

bool LinuxBacklightService::setBrightness(std::uint32_t displayID, float level) {
    if (!std::isfinite(level)) {
        return false;
    }
    const auto device = deviceFor(displayID);
    if (!device) {
        return false;
    }
    const auto dir = root_ / "sys/class/backlight" / *device;
    const auto maximum = SysfsFiles::readNumber(dir / "max_brightness");
    if (!maximum || *maximum == 0 || *maximum > UINT32_MAX) {
        return false;
    }
    const auto value = static_cast<std::uint32_t>(
        std::lround(static_cast<double>(std::clamp(level, 0.0f, 1.0f)) * static_cast<double>(*maximum)));

    const std::string text = std::to_string(value);
    const int fd = io_->open((dir / "brightness").c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0) {
        // Only root may write the file; the login manager writes it for the session's user.
        const bool denied = errno == EACCES || errno == EPERM || errno == EROFS;
        return denied && writer_ && writer_->setBrightness(*device, value);
    }
    const ssize_t written = io_->writeUninterrupted(fd, text.data(), text.size());
    const bool complete = written == static_cast<ssize_t>(text.size());
    // sysfs reports some errors only when the file is closed.
    return io_->close(fd) == 0 && complete;
}

void LinuxBacklightService::brightnessChanged(std::uint32_t, double) {
    // The kernel announces backlight changes itself.
}

} // namespace kivo
