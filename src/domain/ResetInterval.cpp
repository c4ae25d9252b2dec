#include "domain/ResetInterval.h"

namespace kivo {

ResetInterval ResetInterval::hours(std::int64_t hours) {
    ResetInterval interval;
    interval.hours_ = hours;
    return interval;
}

Json::Value ResetInterval::toJson() const {
    if (hours_) {
        return Json::encodeCase("hours", Json::Value{{"_0", *hours_}});
    }
    return Json::encodeCase("never");
}

Result<ResetInterval> ResetInterval::fromJson(const Json::Value& v) {
    Result<Json::Case> c = Json::decodeCase(v, {"hours", "never"});
    if (!c.ok()) {
        return Result<ResetInterval>::failureOf(c);
    }
    if (c.value().name == "never") {
        return Result<ResetInterval>::success(never());
    }
    Json::ObjectReader r(c.value().payload);
    const std::int64_t n = r.required<std::int64_t>("_0");
    if (!r.ok()) {
        return Result<ResetInterval>::failure("hours." + r.error());
    }
    return Result<ResetInterval>::success(hours(n));
}

} // namespace kivo
