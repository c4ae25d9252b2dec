#pragma once

#include <optional>

namespace kivo {

// A browser's Automation permission as Kivo last learnt it: from a probe, or from a script run.
class BrowserPermissionState {
public:
    enum Value { unknown, granted, denied };

    constexpr BrowserPermissionState(Value value = unknown) : value_(value) {}
    constexpr Value value() const { return value_; }
    constexpr operator Value() const { return value_; }

    // What to store after a fresh probe: an `unknown` probe never overwrites what was learnt before.
    static std::optional<BrowserPermissionState> merge(std::optional<BrowserPermissionState> stored,
                                                       BrowserPermissionState fresh);
    // What a finished script run teaches: no error means granted, -1743 means refused, anything else
    // says nothing about the permission.
    static std::optional<BrowserPermissionState> fromScriptErrorCode(std::optional<int> errorCode);

    static constexpr int kNotPermittedErrorCode = -1743;

private:
    Value value_;
};

} // namespace kivo
