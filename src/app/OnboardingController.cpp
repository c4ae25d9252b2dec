#include "app/OnboardingController.h"

#include "settings/DefaultsStore.h"

namespace kivo {

OnboardingController::OnboardingController(OnboardingStore store, QObject* parent)
    : QObject(parent), store_(store) {
    isCompleted_ = store_.defaults->integerValue(OnboardingStore::kCompletedVersionKey).valueOr(0) > 0;
}

void OnboardingController::setIsCompleted(bool completed) {
    if (completed == isCompleted_) {
        return;
    }
    isCompleted_ = completed;
    emit isCompletedChanged(isCompleted_);
}

void OnboardingController::completeOnboarding() {
    // A failed write is logged by the store; the user still gets the main content now and simply sees
    // onboarding once more at the next start.
    store_.defaults->setInteger(OnboardingStore::kCompletedVersionKey, 1);
    setIsCompleted(true);
}

void OnboardingController::reset() {
    store_.defaults->remove(OnboardingStore::kCompletedVersionKey);
    setIsCompleted(false);
}

} // namespace kivo
