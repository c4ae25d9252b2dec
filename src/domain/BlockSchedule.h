#pragma once

#include "domain/DayOfWeek.h"
#include "domain/Json.h"
#include "domain/RecurringSchedule.h"

#include <cstdint>
#include <variant>

namespace kivo {

// When a rule group blocks: always, or on a recurring schedule.
class BlockSchedule {
public:
    // Always.
    BlockSchedule() = default;

    static BlockSchedule always() { return BlockSchedule(); }
    static BlockSchedule recurring(RecurringSchedule schedule);

    bool isAlways() const { return std::holds_alternative<Always>(value_); }
    // The recurring schedule, or nullptr for always.
    const RecurringSchedule* recurringSchedule() const { return std::get_if<RecurringSchedule>(&value_); }

    bool isActive(DayOfWeek day, std::int64_t minuteOfDay) const;

    // {"always":{}} or {"recurring":{"_0":{...}}}
    Json::Value toJson() const;
    static Result<BlockSchedule> fromJson(const Json::Value& v);

    friend bool operator==(const BlockSchedule&, const BlockSchedule&) = default;

private:
    struct Always {
        friend bool operator==(const Always&, const Always&) = default;
    };
    std::variant<Always, RecurringSchedule> value_;
};

} // namespace kivo
