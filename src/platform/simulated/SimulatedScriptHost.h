#pragma once

#include "browser-monitor/ports/ScriptHost.h"
#include "platform/simulated/SimulatedBrowserWorld.h"

namespace kivo {

// Compiles exactly the sources the browser-script builders produce for a known browser; anything else
// is a syntax error. The compiled scripts read and redirect the simulated browsers' front tabs.
class SimulatedScriptHost final : public ScriptHost {
public:
    explicit SimulatedScriptHost(SimulatedBrowserWorld& world) : world_(world) {}
    CompileResult compile(const std::string& source) override { return world_.portCompile(source); }

private:
    SimulatedBrowserWorld& world_;
};

} // namespace kivo
