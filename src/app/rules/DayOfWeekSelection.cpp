#include "app/rules/DayOfWeekSelection.h"

#include "app/language/LocalizedStrings.h"

namespace kivo::DayOfWeekSelection {

const std::array<DayOfWeek, 7>& dayOrder() {
    static const std::array<DayOfWeek, 7> order{DayOfWeek::monday,   DayOfWeek::tuesday, DayOfWeek::wednesday,
                                                DayOfWeek::thursday, DayOfWeek::friday,  DayOfWeek::saturday,
                                                DayOfWeek::sunday};
    return order;
}

std::optional<DaySet> toggled(const DaySet& days, DayOfWeek day) {
    DaySet result = days;
    if (result.count(day) != 0) {
        if (result.size() < 2) {
            return std::nullopt;
        }
        result.erase(day);
    } else {
        result.insert(day);
    }
    return result;
}

const LocalizedString& shortName(DayOfWeek day) {
    namespace S = Strings::Domain::DayShort;
    switch (day) {
    case DayOfWeek::sunday:
        return S::sunday();
    case DayOfWeek::monday:
        return S::monday();
    case DayOfWeek::tuesday:
        return S::tuesday();
    case DayOfWeek::wednesday:
        return S::wednesday();
    case DayOfWeek::thursday:
        return S::thursday();
    case DayOfWeek::friday:
        return S::friday();
    case DayOfWeek::saturday:
        break;
    }
    return S::saturday();
}

const LocalizedString& fullName(DayOfWeek day) {
    namespace F = Strings::Domain::DayFull;
    switch (day) {
    case DayOfWeek::sunday:
        return F::sunday();
    case DayOfWeek::monday:
        return F::monday();
    case DayOfWeek::tuesday:
        return F::tuesday();
    case DayOfWeek::wednesday:
        return F::wednesday();
    case DayOfWeek::thursday:
        return F::thursday();
    case DayOfWeek::friday:
        return F::friday();
    case DayOfWeek::saturday:
        break;
    }
    return F::saturday();
}

} // namespace kivo::DayOfWeekSelection
