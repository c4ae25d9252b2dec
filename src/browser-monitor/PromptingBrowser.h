#pragma once

#include <string>

namespace kivo {

// The browser the Accessibility prompt asks about.
struct PromptingBrowser {
    std::string bundleId;
    std::string displayName;

    friend bool operator==(const PromptingBrowser&, const PromptingBrowser&) = default;
};

} // namespace kivo
