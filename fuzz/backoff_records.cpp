// Stored backoff records: decode, write, read again and compare; then the waits and resets computed
// from any record stay within their documented bounds.
#include "FuzzCheck.h"
#include "StoredRoundTrip.h"
#include "domain/BackoffRecord.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto records = storedRoundTrip(
        data, size, [](const Json::Value& v) { return Json::decode<std::vector<BackoffRecord>>(v); },
        [](const std::vector<BackoffRecord>& r) { return Json::encode(r); });
    if (!records) {
        return 0;
    }

    constexpr std::int64_t bases[] = {std::numeric_limits<std::int64_t>::min(), -1, 0, 1, 5,
                                      std::numeric_limits<std::int64_t>::max()};
    for (const auto& record : *records) {
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
