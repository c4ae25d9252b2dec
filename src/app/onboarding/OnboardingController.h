#pragma once

#include "app/onboarding/OnboardingStore.h"
#include "app/shell/SaveRetry.h"

#include <QObject>

#include <optional>

namespace kivo {

class TimerFactory;

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

    // A marker change whose save failed stays unsaved (see SaveRetry) and is saved again at the next
    // change, every SaveRetry::kInterval on these timers, and at quit.
    void setRetryTimers(TimerFactory& timers) { retry_.setTimerFactory(timers); }
    bool hasUnsavedChanges() const { return retry_.hasUnsavedChanges(); }
    void saveIfUnsaved();

signals:
    void isCompletedChanged(bool isCompleted);

private:
    OnboardingStore store_;
    bool isCompleted_ = false;
    // Whether the marker should be stored (true) or removed (false), while that has not landed.
    std::optional<bool> unsavedMarker_;
    SaveRetry retry_;
};

} // namespace kivo
