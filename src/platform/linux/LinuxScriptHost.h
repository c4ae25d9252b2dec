#pragma once

#include "browser-monitor/ports/ScriptHost.h"

namespace kivo {

// Linux browsers have no scripting interface; nothing is routed here (see LinuxBrowserRoutes), and
// anything that asks is told so.
class LinuxScriptHost final : public ScriptHost {
public:
    CompileResult compile(const std::string&) override {
        return {nullptr, "browsers on this desktop have no scripting interface"};
    }
};

} // namespace kivo
