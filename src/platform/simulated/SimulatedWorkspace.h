#pragma once

#include "browser-monitor/ports/Workspace.h"
#include "platform/simulated/SimulatedBrowserWorld.h"

namespace kivo {

// The workspace of a simulated desktop.
class SimulatedWorkspace final : public Workspace {
public:
    explicit SimulatedWorkspace(SimulatedBrowserWorld& world) : world_(world) {}

    std::string frontmostBundleId() override { return world_.portFrontmostBundleId(); }
    std::vector<RunningApplication> runningApplications(const std::string& bundleId) override {
        return world_.portRunningApplications(bundleId);
    }
    bool activate(int processId) override { return world_.portActivate(processId); }
    ObserverToken addActivationObserver(ApplicationHandler handler) override {
        return world_.portAddObserver(false, std::move(handler));
    }
    ObserverToken addLaunchObserver(ApplicationHandler handler) override {
        return world_.portAddObserver(true, std::move(handler));
    }
    void removeObserver(ObserverToken token) override { world_.portRemoveObserver(token); }

private:
    SimulatedBrowserWorld& world_;
};

} // namespace kivo
