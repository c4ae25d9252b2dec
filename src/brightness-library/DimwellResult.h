#pragma once

#include "brightness-library/DimwellError.h"

#include <optional>
#include <utility>
#include <variant>

namespace kivo {

// The outcome of a per-display operation: its value, or the display's error.
template <class T> class DimwellResult {
public:
    DimwellResult(T value) : outcome_(std::move(value)) {}
    DimwellResult(DimwellError error) : outcome_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(outcome_); }
    const T& value() const { return std::get<T>(outcome_); }
    const DimwellError& error() const { return std::get<DimwellError>(outcome_); }

    friend bool operator==(const DimwellResult&, const DimwellResult&) = default;

private:
    std::variant<T, DimwellError> outcome_;
};

// An operation without a value: success, or the display's error.
template <> class DimwellResult<void> {
public:
    DimwellResult() = default;
    DimwellResult(DimwellError error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    const DimwellError& error() const { return *error_; }

    friend bool operator==(const DimwellResult&, const DimwellResult&) = default;

private:
    std::optional<DimwellError> error_;
};

} // namespace kivo
