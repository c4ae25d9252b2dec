#pragma once

#include "browser-monitor/PortGate.h"
#include "browser-monitor/ports/InputMethod.h"

#include <memory>

namespace kivo {

// An input method that jobs own: none stands for a desktop without one. Once its gate closes nothing is
// switched any more, and giving back is left to the owner of the real port, which does it when it goes.
class GuardedInputMethod final : public InputMethod {
public:
    GuardedInputMethod(InputMethod* inputMethod, std::shared_ptr<PortGate> gate)
        : inputMethod_(inputMethod), gate_(std::move(gate)) {}

    PlainTyping typePlain(int processId, WindowHandle window) override {
        if (!inputMethod_) {
            return {};
        }
        return gate_->call([&] { return inputMethod_->typePlain(processId, window); },
                           PlainTyping{PlainTyping::Kind::unusable, "shutting down"});
    }
    bool restore() override {
        return !inputMethod_ || gate_->call([&] { return inputMethod_->restore(); }, true);
    }

private:
    InputMethod* inputMethod_;
    std::shared_ptr<PortGate> gate_;
};

} // namespace kivo
