#pragma once

#include "app/OnboardingStore.h"

#include <QObject>

namespace kivo {

// Whether first-run onboarding is done: the integer under "kivo.onboardingCompletedVersion" is above 0.
// A missing marker, or one of another type, counts as not done.
class OnboardingController : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isCompleted READ isCompleted WRITE setIsCompleted NOTIFY isCompletedChanged)

public:
    explicit OnboardingController(OnboardingStore store, QObject* parent = nullptr);

    const OnboardingStore& store() const { return store_; }
    bool isCompleted() const { return isCompleted_; }
    // Notifies only when the value changes.
    void setIsCompleted(bool completed);

    // The end of the onboarding pages: stores 1 as the marker, then sets the flag.
    void completeOnboarding();
    // Erasing all data: removes the marker, then clears the flag.
    void reset();

signals:
    void isCompletedChanged(bool isCompleted);

private:
    OnboardingStore store_;
    bool isCompleted_ = false;
};

} // namespace kivo
