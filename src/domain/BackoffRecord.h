#pragma once

#include "domain/Date.h"
#include "domain/Json.h"
#include "domain/ResetInterval.h"
#include "domain/Uuid.h"

#include <cstdint>
#include <optional>

namespace kivo {

// A rule group's memory of its recorded unlocks since the last reset.
struct BackoffRecord {
    // The longest wait a backing-off policy asks for, in seconds.
    static constexpr std::int64_t maxWaitSeconds = 60;

    Uuid groupId;
    std::int64_t unlockCount = 0;
    std::optional<Date> lastUnlockDate;

    // Count 0 and no date: what a group without a record starts from.
    static BackoffRecord fresh(const Uuid& groupId) { return BackoffRecord{groupId, 0, std::nullopt}; }

    // base × 2^count (the exponent capped at 20, a negative count giving 0), at most 60. Saturates instead
    // of overflowing, so a huge base still gives 60. A negative base gives a negative result.
    std::int64_t waitSeconds(std::int64_t baseSeconds) const;
    // Whether at least the interval has passed from the last unlock to `now`; never without a last unlock.
    bool shouldReset(const ResetInterval& interval, Date now) const;
    // One more unlock (the count saturates at its largest value) at `date`.
    BackoffRecord recordingUnlock(Date date) const;
    BackoffRecord reset() const { return fresh(groupId); }

    Json::Value toJson() const;
    static Result<BackoffRecord> fromJson(const Json::Value& v);

    friend bool operator==(const BackoffRecord&, const BackoffRecord&) = default;
};

} // namespace kivo
