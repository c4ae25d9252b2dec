#pragma once

#include "core/ManualClock.h"
#include "platform/simulated/SimulatedApplicationPorts.h"
#include "settings/MemoryDefaultsStore.h"
#include "ui/shell/DesktopShell.h"

#include <memory>

namespace kivo::test {

// The whole desktop application over simulated ports, on the offscreen platform.
struct ShellRig {
    explicit ShellRig(nlohmann::json document = nlohmann::json{{"kivo.onboardingCompletedVersion", 1}})
        : defaults(std::move(document)), ports(clock) {
        shell = std::make_unique<DesktopShell>(
            AppDelegate::BackEnds{defaults, clock, clock, ports.brightness, ports.events, ports.events,
                                  ports.browserPorts(), ports.settings, ports.loginItem, ports.trash,
                                  ports.installation, ports.updates, ports.errors, QStringList{"en"},
                                  "1.0.0"},
            ports.activationPolicy);
    }

    ManualClock clock;
    MemoryDefaultsStore defaults;
    SimulatedApplicationPorts ports;
    std::unique_ptr<DesktopShell> shell;
};

} // namespace kivo::test
