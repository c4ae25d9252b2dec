#include "domain/BlockSchedule.h"

namespace kivo {

BlockSchedule BlockSchedule::recurring(RecurringSchedule schedule) {
    BlockSchedule s;
    s.value_ = std::move(schedule);
    return s;
}

bool BlockSchedule::isActive(DayOfWeek day, std::int64_t minuteOfDay) const {
    if (const RecurringSchedule* schedule = recurringSchedule()) {
        return schedule->isActive(day, minuteOfDay);
    }
    return true;
}

Json::Value BlockSchedule::toJson() const {
    if (const RecurringSchedule* schedule = recurringSchedule()) {
        return Json::encodeCase("recurring", Json::Value{{"_0", schedule->toJson()}});
    }
    return Json::encodeCase("always");
}

Result<BlockSchedule> BlockSchedule::fromJson(const Json::Value& v) {
    Result<Json::Case> c = Json::decodeCase(v, {"always", "recurring"});
    if (!c.ok()) {
        return Result<BlockSchedule>::failureOf(c);
    }
    if (c.value().name == "always") {
        return Result<BlockSchedule>::success(always());
    }
    Json::ObjectReader r(c.value().payload);
    RecurringSchedule schedule = r.required<RecurringSchedule>("_0");
    if (!r.ok()) {
        return Result<BlockSchedule>::failure("recurring." + r.error());
    }
    return Result<BlockSchedule>::success(recurring(std::move(schedule)));
}

} // namespace kivo
