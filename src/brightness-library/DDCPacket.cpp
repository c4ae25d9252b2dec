#include "brightness-library/DDCPacket.h"

namespace kivo::DDCPacket {

std::uint8_t checksum(const std::uint8_t* bytes, std::size_t count) {
    std::uint8_t sum = kChecksumSeed;
    for (std::size_t i = 0; i < count; ++i) {
        sum ^= bytes[i];
    }
    return sum;
}

std::array<std::uint8_t, 4> getRequest(std::uint8_t code) {
    std::array<std::uint8_t, 4> packet{0x82, 0x01, code, 0};
    packet[3] = checksum(packet.data(), 3);
    return packet;
}

std::array<std::uint8_t, 6> setRequest(std::uint8_t code, std::uint16_t value) {
    std::array<std::uint8_t, 6> packet{
        0x84, 0x03, code, static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF), 0};
    packet[5] = checksum(packet.data(), 5);
    return packet;
}

std::optional<DDCReading> parseReply(const std::vector<std::uint8_t>& reply, std::uint8_t code) {
    // Bytes: source, length, opcode, result, code, type, max high, max low, current high, current low,
    // checksum.
    if (reply.size() < kReplyLength) {
        return std::nullopt;
    }
    std::uint8_t sum = kReplyChecksumSeed;
    for (std::size_t i = 0; i < 10; ++i) {
        sum ^= reply[i];
    }
    if (reply[2] != 0x02 || reply[3] != 0x00 || reply[4] != code || reply[10] != sum) {
        return std::nullopt;
    }
    DDCReading reading;
    reading.maximum = static_cast<std::uint16_t>(reply[6] << 8 | reply[7]);
    reading.current = static_cast<std::uint16_t>(reply[8] << 8 | reply[9]);
    return reading;
}

} // namespace kivo::DDCPacket
