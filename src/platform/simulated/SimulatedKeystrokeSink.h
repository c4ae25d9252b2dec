#pragma once

#include "browser-monitor/ports/KeystrokeSink.h"
#include "platform/simulated/SimulatedBrowserWorld.h"

namespace kivo {

// Keystrokes land in whichever simulated application has the keyboard focus: a browser's address
// field, or an editor's text buffer.
class SimulatedKeystrokeSink final : public KeystrokeSink {
public:
    explicit SimulatedKeystrokeSink(SimulatedBrowserWorld& world) : world_(world) {}

    std::optional<int> keyboardFocusProcess() override { return world_.portKeyboardFocusProcess(); }
    // Every character is on the simulated keyboard.
    std::optional<std::string> keyboardText(const std::string& url) override { return url; }
    bool focusAddressField() override { return world_.portKeystroke("focusAddressField", {}); }
    bool selectAll() override { return world_.portKeystroke("selectAll", {}); }
    bool typeText(const std::string& text) override { return world_.portKeystroke("type", text); }
    bool pressReturn() override { return world_.portKeystroke("return", {}); }
    bool pressDelete() override { return world_.portKeystroke("delete", {}); }

private:
    SimulatedBrowserWorld& world_;
};

} // namespace kivo
