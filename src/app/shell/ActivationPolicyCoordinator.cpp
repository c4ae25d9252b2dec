#include "app/shell/ActivationPolicyCoordinator.h"

#include "core/Log.h"
#include "core/TimerFactory.h"

namespace kivo {

ActivationPolicyCoordinator::ActivationPolicyCoordinator(ActivationPolicyPort& port, TimerFactory& timers,
                                                         QObject* parent)
    : QObject(parent), port_(port), debounce_(timers.createTimer()) {
    debounce_->setSingleShot(true);
    debounce_->setCallback([this] { evaluate(); });
}

void ActivationPolicyCoordinator::start() {
    evaluate();
}

void ActivationPolicyCoordinator::scheduleEvaluation() {
    debounce_->start(kDebounce);
}

void ActivationPolicyCoordinator::evaluate() {
    apply(port_.hasVisibleMainWindow() ? ActivationPolicy::regular : ActivationPolicy::accessory);
}

void ActivationPolicyCoordinator::apply(ActivationPolicy policy) {
    if (policy == currentPolicy_)
        return;
    port_.setActivationPolicy(policy);
    currentPolicy_ = policy;
    qCDebug(lcLifecycle, "Activation policy changed to %s",
            policy == ActivationPolicy::regular ? "regular" : "accessory");
    emit currentPolicyChanged();
}

} // namespace kivo
