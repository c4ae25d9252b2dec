#pragma once

#include "app/errors/ErrorReporter.h"
#include "browser-monitor/BrowserMonitor.h"
#include "platform/simulated/SimulatedAccessibilityTree.h"
#include "platform/simulated/SimulatedActivationPolicy.h"
#include "platform/simulated/SimulatedAutomationConsent.h"
#include "platform/simulated/SimulatedBrightnessBackend.h"
#include "platform/simulated/SimulatedBrowserWorld.h"
#include "platform/simulated/SimulatedBusBrowsers.h"
#include "platform/simulated/SimulatedInstallation.h"
#include "platform/simulated/SimulatedKeystrokeSink.h"
#include "platform/simulated/SimulatedLoginItem.h"
#include "platform/simulated/SimulatedScriptHost.h"
#include "platform/simulated/SimulatedSettingsOpener.h"
#include "platform/simulated/SimulatedSystemEvents.h"
#include "platform/simulated/SimulatedTrash.h"
#include "platform/simulated/SimulatedUpdateDriver.h"
#include "platform/simulated/SimulatedWorkspace.h"

#include <memory>

namespace kivo {

// Every outside-world port the application needs, simulated: for tests of the whole application and for
// the screenshot program. The clock and the defaults database come from the caller.
struct SimulatedApplicationPorts {
    explicit SimulatedApplicationPorts(const Clock& clock) : errors(clock) {}

    SimulatedBrowserWorld world;
    SimulatedWorkspace workspace{world};
    SimulatedScriptHost scriptHost{world};
    SimulatedAutomationConsent consent{world};
    SimulatedAccessibilityTree tree{world};
    SimulatedKeystrokeSink keystrokes{world};
    SimulatedSettingsOpener settings{world};
    SimulatedBusBrowsers busBrowsers;
    SimulatedSystemEvents events;
    std::shared_ptr<SimulatedBrightnessBackend> brightness = std::make_shared<SimulatedBrightnessBackend>();
    SimulatedLoginItem loginItem;
    SimulatedActivationPolicy activationPolicy;
    SimulatedTrash trash;
    SimulatedInstallation installation;
    SimulatedUpdateDriver updates;
    ErrorReporter errors;

    BrowserMonitor::Ports browserPorts() {
        return {workspace, scriptHost, consent, tree, keystrokes, nullptr, &busBrowsers};
    }
};

} // namespace kivo
