#pragma once

#include "browser-monitor/PortGate.h"
#include "browser-monitor/ports/KeystrokeSink.h"

#include <memory>

namespace kivo {

// A keystroke sink that jobs own: it forwards to the real port until its gate closes, and from then on
// sends nothing and reports that nothing could be sent.
class GuardedKeystrokeSink final : public KeystrokeSink {
public:
    GuardedKeystrokeSink(KeystrokeSink& sink, std::shared_ptr<PortGate> gate)
        : sink_(sink), gate_(std::move(gate)) {}

    bool hasKeyboardFocus(WindowHandle window) override {
        return gate_->call([&] { return sink_.hasKeyboardFocus(window); }, false);
    }
    std::optional<std::string> keyboardText(const std::string& url) override {
        return gate_->call([&] { return sink_.keyboardText(url); }, std::optional<std::string>());
    }
    KeystrokeResult focusAddressField(WindowHandle window) override {
        return gate_->call([&] { return sink_.focusAddressField(window); }, KeystrokeResult::failed);
    }
    KeystrokeResult selectAll(WindowHandle window) override {
        return gate_->call([&] { return sink_.selectAll(window); }, KeystrokeResult::failed);
    }
    KeystrokeResult typeText(WindowHandle window, const std::string& text) override {
        return gate_->call([&] { return sink_.typeText(window, text); }, KeystrokeResult::failed);
    }
    KeystrokeResult pressReturn(WindowHandle window) override {
        return gate_->call([&] { return sink_.pressReturn(window); }, KeystrokeResult::failed);
    }
    KeystrokeResult pressDelete(WindowHandle window) override {
        return gate_->call([&] { return sink_.pressDelete(window); }, KeystrokeResult::failed);
    }
    KeystrokeResult pressEscape(WindowHandle window) override {
        return gate_->call([&] { return sink_.pressEscape(window); }, KeystrokeResult::failed);
    }

private:
    KeystrokeSink& sink_;
    std::shared_ptr<PortGate> gate_;
};

} // namespace kivo
