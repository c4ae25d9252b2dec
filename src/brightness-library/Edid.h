#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

// The few EDID fields the library needs.
namespace Edid {

// Manufacturer id, bytes 8-9 big-endian; none for an EDID shorter than 12 bytes.
std::optional<std::uint32_t> vendorNumber(const std::vector<std::uint8_t>& edid);
// Product code, bytes 10-11 little-endian; none for an EDID shorter than 12 bytes.
std::optional<std::uint32_t> modelNumber(const std::vector<std::uint8_t>& edid);
// The text of the monitor-name descriptor (tag 0xFC) of a complete base block, trimmed; none without one.
std::optional<std::string> monitorName(const std::vector<std::uint8_t>& edid);
// True for a base block that starts with the fixed EDID header.
bool hasHeader(const std::vector<std::uint8_t>& edid);

} // namespace Edid
} // namespace kivo
