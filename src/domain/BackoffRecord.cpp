#include "domain/BackoffRecord.h"

#include <algorithm>
#include <limits>

namespace kivo {

std::int64_t BackoffRecord::waitSeconds(std::int64_t baseSeconds) const {
    std::int64_t factor = 0;
    if (unlockCount >= 0) {
        factor = std::int64_t{1} << std::min<std::int64_t>(unlockCount, 20);
    }
    std::int64_t product = 0;
    if (__builtin_mul_overflow(baseSeconds, factor, &product)) {
        product = baseSeconds > 0 ? std::numeric_limits<std::int64_t>::max()
                                  : std::numeric_limits<std::int64_t>::min();
    }
    return std::min(product, maxWaitSeconds);
}

bool BackoffRecord::shouldReset(const ResetInterval& interval, Date now) const {
    if (!lastUnlockDate) {
        return false;
    }
    const std::optional<std::int64_t> hours = interval.hourCount();
    if (!hours) {
        return false;
    }
    // In floating point, so that no number of hours can overflow.
    const double intervalSeconds = static_cast<double>(*hours) * 3600.0;
    return now.secondsSince(*lastUnlockDate) >= intervalSeconds;
}

BackoffRecord BackoffRecord::recordingUnlock(Date date) const {
    std::int64_t count = unlockCount;
    if (count < std::numeric_limits<std::int64_t>::max()) {
        ++count;
    }
    return BackoffRecord{groupId, count, date};
}

Json::Value BackoffRecord::toJson() const {
    Json::Value j = Json::Value::object();
    j["groupId"] = Json::encode(groupId);
    j["unlockCount"] = unlockCount;
    Json::putOptional(j, "lastUnlockDate", lastUnlockDate);
    return j;
}

Result<BackoffRecord> BackoffRecord::fromJson(const Json::Value& v) {
    Json::ObjectReader r(v);
    BackoffRecord record;
    record.groupId = r.required<Uuid>("groupId");
    record.unlockCount = r.required<std::int64_t>("unlockCount");
    record.lastUnlockDate = r.optional<Date>("lastUnlockDate");
    return r.finish(record);
}

} // namespace kivo
