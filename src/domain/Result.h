#pragma once

#include <optional>
#include <string>
#include <utility>

namespace kivo {

// The outcome of an operation that can fail: a value, or a message saying why there is none.
template <class T> class Result {
public:
    static Result success(T value) {
        Result r;
        r.value_.emplace(std::move(value));
        return r;
    }
    static Result failure(std::string message) {
        Result r;
        r.error_ = std::move(message);
        return r;
    }

    bool ok() const { return value_.has_value(); }
    // Asking a failed result for its value is a programming error; it throws std::bad_optional_access.
    const T& value() const { return value_.value(); }
    T& value() { return value_.value(); }
    const std::string& error() const { return error_; }

    // Carries the failure of another result over, e.g. when decoding a field fails.
    template <class U> static Result failureOf(const Result<U>& other) { return failure(other.error()); }

private:
    Result() = default;
    std::optional<T> value_;
    std::string error_;
};

} // namespace kivo
