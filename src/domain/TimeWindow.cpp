#include "domain/TimeWindow.h"

namespace kivo {

bool TimeWindow::contains(std::int64_t minuteOfDay) const {
    if (startMinute == endMinute) {
        return true;
    }
    if (startMinute < endMinute) {
        return startMinute <= minuteOfDay && minuteOfDay < endMinute;
    }
    return minuteOfDay >= startMinute || minuteOfDay < endMinute;
}

Json::Value TimeWindow::toJson() const {
    return Json::Value{{"startMinute", startMinute}, {"endMinute", endMinute}};
}

Result<TimeWindow> TimeWindow::fromJson(const Json::Value& v) {
    Json::ObjectReader r(v);
    TimeWindow window;
    window.startMinute = r.required<std::int64_t>("startMinute");
    window.endMinute = r.required<std::int64_t>("endMinute");
    return r.finish(window);
}

} // namespace kivo
