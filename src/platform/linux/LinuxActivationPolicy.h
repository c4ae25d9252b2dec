#pragma once

#include "app/ports/ActivationPolicyPort.h"

#include <functional>

namespace kivo {

// A Linux desktop has no dock to add or remove: a program without a window already has no taskbar entry.
// The policy is recorded and logged; whether a main window is up is asked of the interface.
class LinuxActivationPolicy : public ActivationPolicyPort {
public:
    explicit LinuxActivationPolicy(std::function<bool()> hasVisibleMainWindow = {})
        : hasVisibleMainWindow_(std::move(hasVisibleMainWindow)) {}

    void setVisibleMainWindowQuery(std::function<bool()> query) { hasVisibleMainWindow_ = std::move(query); }
    bool hasVisibleMainWindow() const override { return hasVisibleMainWindow_ && hasVisibleMainWindow_(); }
    void setActivationPolicy(ActivationPolicy policy) override;
    ActivationPolicy policy() const { return policy_; }

private:
    std::function<bool()> hasVisibleMainWindow_;
    ActivationPolicy policy_ = ActivationPolicy::regular;
};

} // namespace kivo
