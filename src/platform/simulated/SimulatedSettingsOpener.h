#pragma once

#include "browser-monitor/ports/SettingsOpener.h"
#include "platform/simulated/SimulatedBrowserWorld.h"

namespace kivo {

class SimulatedSettingsOpener final : public SettingsOpener {
public:
    explicit SimulatedSettingsOpener(SimulatedBrowserWorld& world) : world_(world) {}
    bool openAccessibilitySettings() override { return world_.portOpenAccessibilitySettings(); }
    bool openAutomationSettings() override { return world_.portOpenAutomationSettings(); }

private:
    SimulatedBrowserWorld& world_;
};

} // namespace kivo
