#pragma once

#include "brightness-library/DDCInterface.h"
#include "brightness-library/DDCReading.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace kivo {

// Brightness over DDC/CI (VCP code 0x10) as a level from 0 to 1. Each display's maximum is read once and
// cached, so later sets cost a single write. Only a validated reply with a non-zero maximum is cached.
class DDCBrightness {
public:
    static constexpr std::uint16_t kFallbackMaximum = 100;

    explicit DDCBrightness(std::shared_ptr<DDCInterface> interface);

    std::optional<float> brightness(std::uint32_t displayID);
    // False for a failed write and for a level that is not a finite number.
    bool setBrightness(std::uint32_t displayID, float level);
    // The display's maximum (0 when it reports 0), or none.
    std::optional<std::uint16_t> maximum(std::uint32_t displayID);
    std::optional<DDCReading> rawReading(std::uint32_t displayID);

    DDCInterface& interface() { return *interface_; }

    // The reading as a level: current / maximum, at most 1, with a maximum of 0 taken as kFallbackMaximum.
    static float level(const DDCReading& reading);

private:
    std::optional<DDCReading> read(std::uint32_t displayID);
    std::optional<std::uint16_t> cachedMaximum(std::uint32_t displayID);

    std::shared_ptr<DDCInterface> interface_;
    // Never held across I/O.
    std::mutex maxCacheMutex_;
    std::map<std::uint32_t, std::uint16_t> maxCache_;
};

} // namespace kivo
