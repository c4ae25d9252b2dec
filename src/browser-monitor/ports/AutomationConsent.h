#pragma once

#include <string>

namespace kivo {

// Asks, without ever prompting the user, whether Kivo may send scripting events to a running
// application. The answer is a status: 0 allowed, -1743 refused by the user, anything else (consent
// never given, the target not addressable) undecided.
class AutomationConsent {
public:
    static constexpr int kAllowed = 0;
    static constexpr int kNotPermitted = -1743;
    static constexpr int kConsentRequired = -1744;

    virtual ~AutomationConsent() = default;
    virtual int permissionToAutomate(const std::string& bundleId) = 0;
};

} // namespace kivo
