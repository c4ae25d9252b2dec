#pragma once

#include "browser-monitor/ports/KeystrokeSink.h"
#include "platform/simulated/SimulatedBrowserWorld.h"

namespace kivo {

// Keystrokes land in whichever simulated application has the keyboard focus (a browser's address field,
// a page's field, or an editor's text buffer), and only when they are aimed at its focused window and
// nothing holds the keyboard.
class SimulatedKeystrokeSink final : public KeystrokeSink {
public:
    explicit SimulatedKeystrokeSink(SimulatedBrowserWorld& world) : world_(world) {}

    bool hasKeyboardFocus(WindowHandle window) override { return world_.portHasKeyboardFocus(window); }
    // Every character is on the simulated keyboard.
    std::optional<std::string> keyboardText(const std::string& url) override { return url; }
    KeystrokeResult focusAddressField(WindowHandle window) override {
        return world_.portKeystroke("focusAddressField", {}, window);
    }
    KeystrokeResult selectAll(WindowHandle window) override {
        return world_.portKeystroke("selectAll", {}, window);
    }
    KeystrokeResult typeText(WindowHandle window, const std::string& text) override {
        return world_.portKeystroke("type", text, window);
    }
    KeystrokeResult pressReturn(WindowHandle window) override {
        return world_.portKeystroke("return", {}, window);
    }
    KeystrokeResult pressDelete(WindowHandle window) override {
        return world_.portKeystroke("delete", {}, window);
    }
    KeystrokeResult pressEscape(WindowHandle window) override {
        return world_.portKeystroke("escape", {}, window);
    }

private:
    SimulatedBrowserWorld& world_;
};

} // namespace kivo
