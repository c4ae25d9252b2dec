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

    std::optional<int> keyboardFocusProcess() override {
        return gate_->call([&] { return sink_.keyboardFocusProcess(); }, std::optional<int>());
    }
    bool focusAddressField() override {
        return gate_->call([&] { return sink_.focusAddressField(); }, false);
    }
    bool selectAll() override {
        return gate_->call([&] { return sink_.selectAll(); }, false);
    }
    std::optional<std::string> keyboardText(const std::string& url) override {
        return gate_->call([&] { return sink_.keyboardText(url); }, std::optional<std::string>());
    }
    bool typeText(const std::string& text) override {
        return gate_->call([&] { return sink_.typeText(text); }, false);
    }
    bool pressReturn() override {
        return gate_->call([&] { return sink_.pressReturn(); }, false);
    }
    bool pressDelete() override {
        return gate_->call([&] { return sink_.pressDelete(); }, false);
    }

private:
    KeystrokeSink& sink_;
    std::shared_ptr<PortGate> gate_;
};

} // namespace kivo
