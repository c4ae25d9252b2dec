#include "domain/DayOfWeek.h"

namespace kivo {

std::optional<DayOfWeek> dayOfWeekFromRawValue(std::int64_t rawValue) {
    if (rawValue < 1 || rawValue > 7) {
        return std::nullopt;
    }
    return static_cast<DayOfWeek>(rawValue);
}

const std::array<DayOfWeek, 7>& allDaysOfWeek() {
    static const std::array<DayOfWeek, 7> days = {
        DayOfWeek::sunday,   DayOfWeek::monday, DayOfWeek::tuesday, DayOfWeek::wednesday,
        DayOfWeek::thursday, DayOfWeek::friday, DayOfWeek::saturday};
    return days;
}

Json::Value jsonEncode(DayOfWeek day) {
    return Json::Value(rawValue(day));
}

Result<DayOfWeek> jsonDecode(const Json::Value& v, DayOfWeek*) {
    Result<std::int64_t> number = Json::toInteger<std::int64_t>(v);
    if (!number.ok()) {
        return Result<DayOfWeek>::failureOf(number);
    }
    if (auto day = dayOfWeekFromRawValue(number.value())) {
        return Result<DayOfWeek>::success(*day);
    }
    return Result<DayOfWeek>::failure("day of the week out of range: " + std::to_string(number.value()));
}

} // namespace kivo
