#include "domain/UnlockPolicy.h"

#include "domain/BackoffRecord.h"

#include <algorithm>

namespace kivo {

UnlockPolicy UnlockPolicy::waitToUnlock(std::int64_t seconds) {
    UnlockPolicy policy;
    policy.value_ = WaitToUnlock{seconds};
    return policy;
}

UnlockPolicy UnlockPolicy::waitWithBackoff(std::int64_t baseSeconds, ResetInterval resetInterval) {
    UnlockPolicy policy;
    policy.value_ = WaitWithBackoff{baseSeconds, std::move(resetInterval)};
    return policy;
}

std::int64_t UnlockPolicy::waitSeconds(std::int64_t unlockCount) const {
    if (const WaitToUnlock* wait = asWaitToUnlock()) {
        return std::max<std::int64_t>(wait->seconds, 0);
    }
    if (const WaitWithBackoff* backoff = asWaitWithBackoff()) {
        const BackoffRecord record{Uuid(), unlockCount, std::nullopt};
        return std::max<std::int64_t>(record.waitSeconds(backoff->baseSeconds), 0);
    }
    return 0;
}

Json::Value UnlockPolicy::toJson() const {
    if (const WaitToUnlock* wait = asWaitToUnlock()) {
        return Json::encodeCase("waitToUnlock", Json::Value{{"seconds", wait->seconds}});
    }
    if (const WaitWithBackoff* backoff = asWaitWithBackoff()) {
        Json::Value payload = Json::Value::object();
        payload["baseSeconds"] = backoff->baseSeconds;
        payload["resetInterval"] = backoff->resetInterval.toJson();
        return Json::encodeCase("waitWithBackoff", std::move(payload));
    }
    return Json::encodeCase("instant");
}

Result<UnlockPolicy> UnlockPolicy::fromJson(const Json::Value& v) {
    Result<Json::Case> c = Json::decodeCase(v, {"instant", "waitToUnlock", "waitWithBackoff"});
    if (!c.ok()) {
        return Result<UnlockPolicy>::failureOf(c);
    }
    const std::string& name = c.value().name;
    if (name == "instant") {
        return Result<UnlockPolicy>::success(instant());
    }
    Json::ObjectReader r(c.value().payload);
    if (name == "waitToUnlock") {
        const std::int64_t seconds = r.required<std::int64_t>("seconds");
        if (!r.ok()) {
            return Result<UnlockPolicy>::failure(name + "." + r.error());
        }
        return Result<UnlockPolicy>::success(waitToUnlock(seconds));
    }
    const std::int64_t base = r.required<std::int64_t>("baseSeconds");
    ResetInterval interval = r.required<ResetInterval>("resetInterval");
    if (!r.ok()) {
        return Result<UnlockPolicy>::failure(name + "." + r.error());
    }
    return Result<UnlockPolicy>::success(waitWithBackoff(base, std::move(interval)));
}

} // namespace kivo
