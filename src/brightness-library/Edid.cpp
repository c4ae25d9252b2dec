#include "brightness-library/Edid.h"

#include <array>

namespace kivo::Edid {

namespace {
constexpr std::size_t kBaseBlockLength = 128;
constexpr std::array<std::size_t, 4> kDescriptorOffsets{54, 72, 90, 108};
constexpr std::uint8_t kMonitorNameTag = 0xFC;
} // namespace

std::optional<std::uint32_t> vendorNumber(const std::vector<std::uint8_t>& edid) {
    if (edid.size() < 12) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(edid[8]) << 8 | edid[9];
}

std::optional<std::uint32_t> modelNumber(const std::vector<std::uint8_t>& edid) {
    if (edid.size() < 12) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(edid[11]) << 8 | edid[10];
}

bool hasHeader(const std::vector<std::uint8_t>& edid) {
    static constexpr std::array<std::uint8_t, 8> header{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (edid.size() < header.size()) {
        return false;
    }
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (edid[i] != header[i]) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> monitorName(const std::vector<std::uint8_t>& edid) {
    if (edid.size() < kBaseBlockLength || !hasHeader(edid)) {
        return std::nullopt;
    }
    for (std::size_t offset : kDescriptorOffsets) {
        // A display descriptor starts with two zero bytes (a timing descriptor has a pixel clock there).
        if (edid[offset] != 0 || edid[offset + 1] != 0 || edid[offset + 3] != kMonitorNameTag) {
            continue;
        }
        std::string name;
        for (std::size_t i = offset + 5; i < offset + 18; ++i) {
            const std::uint8_t c = edid[i];
            if (c == 0x0A || c == 0x00) {
                break;
            }
            // The descriptor holds printable ASCII; anything else is replaced rather than trusted.
            name.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
        }
        const auto first = name.find_first_not_of(' ');
        if (first == std::string::npos) {
            return std::nullopt;
        }
        const auto last = name.find_last_not_of(' ');
        return name.substr(first, last - first + 1);
    }
    return std::nullopt;
}

} // namespace kivo::Edid
