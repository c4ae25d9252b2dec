// Stored backoff records: decode, write, read again and compare; then the waits and resets computed
// from any record stay within their documented bounds.
#include "FuzzCheck.h"
#include "domain/BackoffRecord.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto document = Json::parse(text);
    if (!document.ok()) {
        return 0;
    }
    const auto records = Json::decode<std::vector<BackoffRecord>>(document.value());
    if (!records.ok()) {
        return 0;
    }
    const Json::Value stored = Json::encode(records.value());
    const auto written = Json::serialize(stored);
    FUZZ_CHECK(written.ok());
    const auto reparsed = Json::parse(written.value());
    FUZZ_CHECK(reparsed.ok());
    const auto again = Json::decode<std::vector<BackoffRecord>>(reparsed.value());
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.value() == records.value());

    constexpr std::int64_t bases[] = {std::numeric_limits<std::int64_t>::min(), -1, 0, 1, 5,
                                      std::numeric_limits<std::int64_t>::max()};
    for (const auto& record : records.value()) {
        for (const std::int64_t base : bases) {
            const std::int64_t wait = record.waitSeconds(base);
            FUZZ_CHECK(wait <= BackoffRecord::maxWaitSeconds);
            FUZZ_CHECK(base < 0 || wait >= 0);
        }
        const BackoffRecord next = record.recordingUnlock(Date{0});
        FUZZ_CHECK(next.unlockCount >= record.unlockCount);
        FUZZ_CHECK(!record.shouldReset(ResetInterval::never(), Date{1e9}));
        for (const std::int64_t hours :
             {std::int64_t{0}, std::int64_t{24}, std::numeric_limits<std::int64_t>::max()}) {
            const bool reset = record.shouldReset(ResetInterval::hours(hours), Date{1e9});
            FUZZ_CHECK(!reset || record.lastUnlockDate.has_value());
        }
        FUZZ_CHECK(record.reset() == BackoffRecord::fresh(record.groupId));
    }
    return 0;
}
