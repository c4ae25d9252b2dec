// DDC/CI replies as a monitor sends them. Input: the requested code, then the reply bytes. A reply is
// accepted only when well formed for that code, and the brightness read from any reply is a level in
// 0...1 that a set can write back within the monitor's range.
#include "FakeDdcBus.h"
#include "FuzzCheck.h"
#include "brightness-library/ConnectorDDC.h"
#include "brightness-library/DDCBrightness.h"
#include "brightness-library/DDCPacket.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t code = data[0];
    const std::vector<std::uint8_t> reply(data + 1, data + size);

    if (const auto reading = DDCPacket::parseReply(reply, code)) {
        FUZZ_CHECK(reply.size() >= DDCPacket::kReplyLength);
        FUZZ_CHECK(reply[2] == 0x02 && reply[3] == 0x00 && reply[4] == code);
        std::uint8_t sum = DDCPacket::kReplyChecksumSeed;
        for (std::size_t i = 0; i < 10; ++i) {
            sum ^= reply[i];
        }
        FUZZ_CHECK(sum == reply[10]);
        const float level = DDCBrightness::level(*reading);
        FUZZ_CHECK(std::isfinite(level) && level >= 0.0f && level <= 1.0f);
    }

    auto transport = std::make_shared<fuzz::OneChannel>(std::nullopt, reply);
    DDCBrightness brightness(std::make_shared<ConnectorDDC>(std::make_shared<fuzz::OneDisplay>(), transport,
                                                            std::make_shared<fuzz::InstantClock>()));
    if (const auto level = brightness.brightness(1)) {
        FUZZ_CHECK(std::isfinite(*level) && *level >= 0.0f && *level <= 1.0f);
    }
    const auto maximum = brightness.maximum(1);
    for (const float level : {-1.0f, 0.0f, 0.37f, 1.0f, 2.0f}) {
        transport->written.clear();
        if (brightness.setBrightness(1, level)) {
            // The last message is the set: source address, 0x84 0x03 0x10, value high and low, checksum.
            FUZZ_CHECK(!transport->written.empty() && transport->written.back().size() == 7);
            const auto& set = transport->written.back();
            FUZZ_CHECK(set[1] == 0x84 && set[3] == DDCPacket::kBrightnessCode);
            const std::uint16_t value = static_cast<std::uint16_t>(set[4] << 8 | set[5]);
            const std::uint16_t top = maximum && *maximum != 0 ? *maximum : DDCBrightness::kFallbackMaximum;
            FUZZ_CHECK(value <= top);
        }
    }
    return 0;
}
