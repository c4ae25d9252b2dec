#pragma once

#include "domain/Json.h"
#include "domain/ResetInterval.h"

#include <cstdint>
#include <variant>

namespace kivo {

// The wait before a rule group, or one of its rules, can be switched off.
class UnlockPolicy {
public:
    enum class Kind { instant, waitToUnlock, waitWithBackoff };

    struct WaitToUnlock {
        std::int64_t seconds = 0;
        friend bool operator==(const WaitToUnlock&, const WaitToUnlock&) = default;
    };
    struct WaitWithBackoff {
        std::int64_t baseSeconds = 0;
        ResetInterval resetInterval;
        friend bool operator==(const WaitWithBackoff&, const WaitWithBackoff&) = default;
    };

    // Instant.
    UnlockPolicy() = default;

    static UnlockPolicy instant() { return UnlockPolicy(); }
    static UnlockPolicy waitToUnlock(std::int64_t seconds);
    // A wait that doubles with every recorded unlock, from the base up to the cap.
    static UnlockPolicy waitWithBackoff(std::int64_t baseSeconds, ResetInterval resetInterval);

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool isInstant() const { return kind() == Kind::instant; }
    const WaitToUnlock* asWaitToUnlock() const { return std::get_if<WaitToUnlock>(&value_); }
    const WaitWithBackoff* asWaitWithBackoff() const { return std::get_if<WaitWithBackoff>(&value_); }

    // The seconds to wait after `unlockCount` recorded unlocks, never negative. The reset interval is not
    // consulted: the caller passes the count that stands.
    std::int64_t waitSeconds(std::int64_t unlockCount) const;

    Json::Value toJson() const;
    static Result<UnlockPolicy> fromJson(const Json::Value& v);

    friend bool operator==(const UnlockPolicy&, const UnlockPolicy&) = default;

private:
    struct Instant {
        friend bool operator==(const Instant&, const Instant&) = default;
    };
    std::variant<Instant, WaitToUnlock, WaitWithBackoff> value_;
};

} // namespace kivo
