#include "domain/RecurringSchedule.h"

namespace kivo {

bool RecurringSchedule::isActive(DayOfWeek day, std::int64_t minuteOfDay) const {
    if (!daysOfWeek.contains(day)) {
        return false;
    }
    for (const TimeWindow& window : timeWindows) {
        if (window.contains(minuteOfDay)) {
            return true;
        }
    }
    return false;
}

bool RecurringSchedule::isAllDayEveryDay() const {
    return daysOfWeek.size() == 7 && timeWindows.size() == 1 &&
           timeWindows.front().startMinute == timeWindows.front().endMinute;
}

Json::Value RecurringSchedule::toJson() const {
    Json::Value j = Json::Value::object();
    j["daysOfWeek"] = Json::encode(daysOfWeek);
    j["timeWindows"] = Json::encode(timeWindows);
    return j;
}

Result<RecurringSchedule> RecurringSchedule::fromJson(const Json::Value& v) {
    Json::ObjectReader r(v);
    RecurringSchedule schedule;
    schedule.daysOfWeek = r.required<DaySet>("daysOfWeek");
    schedule.timeWindows = r.required<std::vector<TimeWindow>>("timeWindows");
    return r.finish(schedule);
}

} // namespace kivo
