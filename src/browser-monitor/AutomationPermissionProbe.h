#pragma once

#include "browser-monitor/BrowserPermissionState.h"

#include <string>

namespace kivo {

class AutomationConsent;
class Workspace;

// Reads a browser's Automation permission without ever asking the user.
namespace AutomationPermissionProbe {

// `unknown` when the browser is not running or the answer is undecided.
BrowserPermissionState permissionState(Workspace& workspace, AutomationConsent& consent,
                                       const std::string& bundleId);

} // namespace AutomationPermissionProbe
} // namespace kivo
