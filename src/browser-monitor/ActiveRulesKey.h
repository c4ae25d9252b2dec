#pragma once

namespace kivo {

// The local date and minute for which the active rules were computed. The date is part of the key: a
// pass exactly an hour or a day after the last computation must not reuse rules of another window.
struct ActiveRulesKey {
    int year = 0;
    int month = 0;
    int day = 0;
    int minuteOfDay = 0;

    friend bool operator==(const ActiveRulesKey&, const ActiveRulesKey&) = default;
};

} // namespace kivo
