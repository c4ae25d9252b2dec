#pragma once

#include "app/ports/ActivationPolicyPort.h"

#include <vector>

namespace kivo {

// Records every policy applied; whether a main window is up is set by the test.
class SimulatedActivationPolicy : public ActivationPolicyPort {
public:
    bool mainWindowVisible = false;
    std::vector<ActivationPolicy> applied;

    bool hasVisibleMainWindow() const override { return mainWindowVisible; }
    void setActivationPolicy(ActivationPolicy policy) override { applied.push_back(policy); }
};

} // namespace kivo
