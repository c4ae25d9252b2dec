#include "app/onboarding/OnboardingController.h"

#include "settings/DefaultsStore.h"

namespace kivo {

OnboardingController::OnboardingController(OnboardingStore store, QObject* parent)
    : QObject(parent), store_(store),
      retry_("onboarding marker", *store.defaults, [this] { saveIfUnsaved(); }) {
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
    // A failed write is logged and saved again later; the user gets the main content now either way.
    unsavedMarker_ = true;
    saveIfUnsaved();
    setIsCompleted(true);
}

void OnboardingController::reset() {
    unsavedMarker_ = false;
    saveIfUnsaved();
    setIsCompleted(false);
}

void OnboardingController::saveIfUnsaved() {
    if (!unsavedMarker_) {
        return;
    }
    const auto written = *unsavedMarker_
                             ? store_.defaults->setInteger(OnboardingStore::kCompletedVersionKey, 1)
                             : store_.defaults->remove(OnboardingStore::kCompletedVersionKey);
    if (written.ok()) {
        unsavedMarker_.reset();
    }
    retry_.recordOutcome(written.ok());
}

} // namespace kivo
