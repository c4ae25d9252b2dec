#pragma once

#include "browser-monitor/ports/InputMethod.h"
#include "platform/simulated/SimulatedBrowserWorld.h"

namespace kivo {

// The world's one input method, shared by every application (see `SimulatedBrowserWorld::setInputMethod`).
class SimulatedInputMethod final : public InputMethod {
public:
    explicit SimulatedInputMethod(SimulatedBrowserWorld& world) : world_(world) {}

    PlainTyping typePlain(int, WindowHandle) override { return world_.portTypePlain(); }
    bool restore() override { return world_.portRestoreInputMethod(); }

private:
    SimulatedBrowserWorld& world_;
};

} // namespace kivo
