#pragma once

#include "settings/DefaultsValueType.h"

#include <optional>
#include <utility>

namespace kivo {

// The outcome of a typed read: the key is absent, holds a value of the asked type, or holds something
// else (which is reported, never coerced).
enum class DefaultsReadStatus { Absent, Present, WrongType };

template <typename T> struct DefaultsRead {
    DefaultsReadStatus status = DefaultsReadStatus::Absent;
    std::optional<T> value;                                   // set only when present
    DefaultsValueType storedType = DefaultsValueType::Absent; // what the key really holds

    bool isAbsent() const { return status == DefaultsReadStatus::Absent; }
    bool isPresent() const { return status == DefaultsReadStatus::Present; }
    bool isWrongType() const { return status == DefaultsReadStatus::WrongType; }
    T valueOr(T fallback) const { return value ? *value : std::move(fallback); }

    friend bool operator==(const DefaultsRead&, const DefaultsRead&) = default;
};

} // namespace kivo
