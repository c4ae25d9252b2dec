#pragma once

#include <optional>
#include <string>

namespace kivo {

// The outcome of one browser script run. A run succeeded exactly when `errorCode` is none.
struct AppleScriptResult {
    std::optional<std::string> output;
    std::optional<int> errorCode;
    std::optional<std::string> errorMessage;

    bool succeeded() const { return !errorCode.has_value(); }

    // What the caller gets when the deadline passes first (or the browser is still busy with a
    // previous, stuck run).
    static AppleScriptResult timeout() { return AppleScriptResult{std::nullopt, -1, std::string("timeout")}; }

    friend bool operator==(const AppleScriptResult&, const AppleScriptResult&) = default;
};

} // namespace kivo
