#pragma once

#include "app/brightness/DisplayChangeSource.h"
#include "app/brightness/SystemWakeSource.h"

namespace kivo {

// Wake and display changes that a test sends by hand.
class SimulatedSystemEvents final : public SystemWakeSource, public DisplayChangeSource {
public:
    void setWakeHandler(std::function<void()> handler) override { wake_ = std::move(handler); }
    void setDisplaysChangedHandler(std::function<void()> handler) override { displays_ = std::move(handler); }

    void wake() {
        if (wake_) {
            wake_();
        }
    }
    void changeDisplays() {
        if (displays_) {
            displays_();
        }
    }
    bool isObserved() const { return wake_ && displays_; }

private:
    std::function<void()> wake_;
    std::function<void()> displays_;
};

} // namespace kivo
