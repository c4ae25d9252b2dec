#include "browser-monitor/AutomationPermissionProbe.h"

#include "browser-monitor/ports/AutomationConsent.h"
#include "browser-monitor/ports/Workspace.h"

namespace kivo {
namespace AutomationPermissionProbe {

BrowserPermissionState permissionState(Workspace& workspace, AutomationConsent& consent,
                                       const std::string& bundleId) {
    if (workspace.runningApplications(bundleId).empty()) {
        return BrowserPermissionState::unknown;
    }
    switch (consent.permissionToAutomate(bundleId)) {
    case AutomationConsent::kAllowed:
        return BrowserPermissionState::granted;
    case AutomationConsent::kNotPermitted:
        return BrowserPermissionState::denied;
    default:
        return BrowserPermissionState::unknown;
    }
}

} // namespace AutomationPermissionProbe
} // namespace kivo
