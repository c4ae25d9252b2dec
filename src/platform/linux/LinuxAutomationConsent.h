#pragma once

#include "browser-monitor/ports/AutomationConsent.h"

namespace kivo {

// There is no scripting consent to refuse on Linux: never "not permitted".
class LinuxAutomationConsent final : public AutomationConsent {
public:
    int permissionToAutomate(const std::string&) override { return kConsentRequired; }
};

} // namespace kivo
