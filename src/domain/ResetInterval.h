#pragma once

#include "domain/Json.h"

#include <cstdint>
#include <optional>
#include <variant>

namespace kivo {

// How long after the last recorded unlock a group's unlock count starts again: a number of hours, or never.
class ResetInterval {
public:
    // Never.
    ResetInterval() = default;

    static ResetInterval hours(std::int64_t hours);
    static ResetInterval never() { return ResetInterval(); }

    bool isNever() const { return !hours_.has_value(); }
    // The number of hours; none for never.
    std::optional<std::int64_t> hourCount() const { return hours_; }

    // {"hours":{"_0":n}} or {"never":{}}
    Json::Value toJson() const;
    static Result<ResetInterval> fromJson(const Json::Value& v);

    friend bool operator==(const ResetInterval&, const ResetInterval&) = default;

private:
    std::optional<std::int64_t> hours_;
};

} // namespace kivo
