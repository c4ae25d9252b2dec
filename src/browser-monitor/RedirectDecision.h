#pragma once

#include <string>

namespace kivo {

// One tab to send elsewhere: the URL it shows and the URL to load instead.
struct RedirectDecision {
    std::string url;
    std::string target;

    friend bool operator==(const RedirectDecision&, const RedirectDecision&) = default;
};

} // namespace kivo
