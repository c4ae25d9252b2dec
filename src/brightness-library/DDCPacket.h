#pragma once

#include "brightness-library/DDCReading.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kivo {

// DDC/CI packets as they go over the I2C channel. The destination (0x6E) and source (0x51) addresses are
// not part of a packet; they enter only the checksum.
namespace DDCPacket {

inline constexpr std::uint8_t kBrightnessCode = 0x10;
inline constexpr std::uint8_t kChipAddress = 0x37;
inline constexpr std::uint8_t kDataAddress = 0x51;
inline constexpr std::uint8_t kChecksumSeed = 0x6E ^ 0x51;
// Replies are checked against the host's read address.
inline constexpr std::uint8_t kReplyChecksumSeed = 0x50;
inline constexpr std::size_t kReplyLength = 11;

// 0x3F XOR every byte before the checksum slot.
std::uint8_t checksum(const std::uint8_t* bytes, std::size_t count);

// Get VCP Feature: 0x82 0x01 code checksum.
std::array<std::uint8_t, 4> getRequest(std::uint8_t code);
// Set VCP Feature: 0x84 0x03 code high low checksum.
std::array<std::uint8_t, 6> setRequest(std::uint8_t code, std::uint16_t value);

// The reading of a Get VCP Feature reply, accepted only when the reply is well formed for that code:
// reply opcode 0x02, result 0x00, the requested code echoed and the checksum matching.
std::optional<DDCReading> parseReply(const std::vector<std::uint8_t>& reply, std::uint8_t code);

} // namespace DDCPacket
} // namespace kivo
