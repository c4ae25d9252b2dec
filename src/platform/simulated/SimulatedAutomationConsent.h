#pragma once

#include "browser-monitor/ports/AutomationConsent.h"
#include "platform/simulated/SimulatedBrowserWorld.h"

namespace kivo {

class SimulatedAutomationConsent final : public AutomationConsent {
public:
    explicit SimulatedAutomationConsent(SimulatedBrowserWorld& world) : world_(world) {}
    int permissionToAutomate(const std::string& bundleId) override {
        return world_.portPermissionToAutomate(bundleId);
    }

private:
    SimulatedBrowserWorld& world_;
};

} // namespace kivo
