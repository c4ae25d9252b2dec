#include "brightness-library/DDCPacket.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DDCPacketTest, RequestsCarryTheirChecksum) {
    const auto get = DDCPacket::getRequest(0x10);
    EXPECT_EQ(Bytes(get.begin(), get.end()), (Bytes{0x82, 0x01, 0x10, 0xAC}));

    struct Case {
        std::uint16_t value;
        Bytes expected;
    };
    const Case cases[] = {
        {50, {0x84, 0x03, 0x10, 0x00, 0x32, 0x9A}},
        {0x0123, {0x84, 0x03, 0x10, 0x01, 0x23, 0x3F ^ 0x84 ^ 0x03 ^ 0x10 ^ 0x01 ^ 0x23}}, // high byte sent
        {0, {0x84, 0x03, 0x10, 0x00, 0x00, 0xA8}},
    };
    for (const auto& c : cases) {
        const auto set = DDCPacket::setRequest(0x10, c.value);
        EXPECT_EQ(Bytes(set.begin(), set.end()), c.expected) << c.value;
    }
}

Bytes reply(std::uint8_t opcode, std::uint8_t result, std::uint8_t code, std::uint16_t max,
            std::uint16_t cur) {
    Bytes r{0x6E,
            0x88,
            opcode,
            result,
            code,
            0x00,
            static_cast<std::uint8_t>(max >> 8),
            static_cast<std::uint8_t>(max),
            static_cast<std::uint8_t>(cur >> 8),
            static_cast<std::uint8_t>(cur)};
    std::uint8_t sum = 0x50;
    for (auto b : r) {
        sum ^= b;
    }
    r.push_back(sum);
    return r;
}

TEST(DDCPacketTest, OnlyAWellFormedReplyForTheRequestedCodeIsAccepted) {
    struct Case {
        const char* name;
        Bytes bytes;
        std::optional<DDCReading> expected;
    };
    Bytes badChecksum = reply(0x02, 0x00, 0x10, 100, 40);
    badChecksum[10] ^= 0x01;
    const Case cases[] = {
        {"valid", reply(0x02, 0x00, 0x10, 100, 40), DDCReading{40, 100}},
        {"high bytes", reply(0x02, 0x00, 0x10, 0x0190, 0x012C), DDCReading{300, 400}},
        {"unsupported code", reply(0x02, 0x01, 0x10, 0, 0), std::nullopt},
        {"other opcode", reply(0x07, 0x00, 0x10, 100, 40), std::nullopt},
        {"other code echoed", reply(0x02, 0x00, 0x12, 100, 40), std::nullopt},
        {"bad checksum", badChecksum, std::nullopt},
        {"null message", Bytes{0x6E, 0x80, 0xBE, 0, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
        {"all zero", Bytes(11, 0), std::nullopt},
        {"short", Bytes{0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x64, 0x00, 0x28}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DDCPacket::parseReply(c.bytes, 0x10), c.expected) << c.name;
    }
}

} // namespace
} // namespace kivo
