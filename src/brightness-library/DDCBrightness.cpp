#include "brightness-library/DDCBrightness.h"

#include "brightness-library/DDCPacket.h"

#include <algorithm>
#include <cmath>

namespace kivo {

DDCBrightness::DDCBrightness(std::shared_ptr<DDCInterface> interface) : interface_(std::move(interface)) {}

std::optional<DDCReading> DDCBrightness::read(std::uint32_t displayID) {
    const auto reply = interface_->readVCP(displayID, DDCPacket::kBrightnessCode);
    if (!reply) {
        return std::nullopt;
    }
    const auto reading = DDCPacket::parseReply(*reply, DDCPacket::kBrightnessCode);
    if (reading && reading->maximum != 0) {
        std::lock_guard lock(maxCacheMutex_);
        maxCache_[displayID] = reading->maximum;
    }
    return reading;
}

std::optional<std::uint16_t> DDCBrightness::cachedMaximum(std::uint32_t displayID) {
    std::lock_guard lock(maxCacheMutex_);
    const auto it = maxCache_.find(displayID);
    if (it == maxCache_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<float> DDCBrightness::brightness(std::uint32_t displayID) {
    const auto reading = read(displayID);
    if (!reading) {
        return std::nullopt;
    }
    return level(*reading);
}

float DDCBrightness::level(const DDCReading& reading) {
    const float maximum = reading.maximum == 0 ? kFallbackMaximum : reading.maximum;
    return std::min(static_cast<float>(reading.current) / maximum, 1.0f);
}

std::optional<std::uint16_t> DDCBrightness::maximum(std::uint32_t displayID) {
    const auto reading = read(displayID);
    if (!reading) {
        return std::nullopt;
    }
    return reading->maximum;
}

std::optional<DDCReading> DDCBrightness::rawReading(std::uint32_t displayID) {
    return read(displayID);
}

bool DDCBrightness::setBrightness(std::uint32_t displayID, float level) {
    if (!std::isfinite(level)) {
        return false;
    }
    std::uint16_t maximum = kFallbackMaximum;
    if (const auto cached = cachedMaximum(displayID)) {
        maximum = *cached;
    } else if (const auto read = this->maximum(displayID)) {
        maximum = *read;
    }
    if (maximum == 0) {
        maximum = kFallbackMaximum;
    }
    const float scaled = std::clamp(level, 0.0f, 1.0f) * static_cast<float>(maximum);
    const auto value = static_cast<std::uint16_t>(std::lround(scaled));
    return interface_->writeVCP(displayID, DDCPacket::kBrightnessCode, value);
}

} // namespace kivo
