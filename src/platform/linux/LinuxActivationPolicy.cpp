#include "platform/linux/LinuxActivationPolicy.h"

#include "core/Log.h"

namespace kivo {

void LinuxActivationPolicy::setActivationPolicy(ActivationPolicy policy) {
    policy_ = policy;
    qCDebug(lcLifecycle, "Activation policy recorded: %s (nothing to change on this desktop)",
            policy == ActivationPolicy::regular ? "regular" : "accessory");
}

} // namespace kivo
