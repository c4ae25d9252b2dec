#pragma once

namespace kivo {

// Whether Kivo shows as a regular application (a taskbar or dock presence) or as an accessory that lives
// in the tray only.
enum class ActivationPolicy { regular, accessory };

// The desktop side of the activation policy: which windows are up, and applying a policy.
class ActivationPolicyPort {
public:
    virtual ~ActivationPolicyPort() = default;
    // Whether a window that can be the main window (not a panel, not a veil) is visible.
    virtual bool hasVisibleMainWindow() const = 0;
    virtual void setActivationPolicy(ActivationPolicy policy) = 0;
};

} // namespace kivo
