#pragma once

#include "app/ports/ActivationPolicyPort.h"
#include "core/Timer.h"

#include <QObject>

#include <memory>

namespace kivo {

class TimerFactory;

// Keeps Kivo a regular application only while one of its real windows is up: window events ask for an
// evaluation, and a burst of them yields one, 100 ms after the last, so a closing window is gone by then.
class ActivationPolicyCoordinator : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kDebounce{100};

    ActivationPolicyCoordinator(ActivationPolicyPort& port, TimerFactory& timers, QObject* parent = nullptr);

    ActivationPolicy currentPolicy() const { return currentPolicy_; }

    // Evaluates once; afterwards window events arrive through scheduleEvaluation.
    void start();
    void scheduleEvaluation();
    void evaluate();
    void apply(ActivationPolicy policy);

signals:
    void currentPolicyChanged();

private:
    ActivationPolicyPort& port_;
    std::unique_ptr<Timer> debounce_;
    ActivationPolicy currentPolicy_ = ActivationPolicy::regular;
};

} // namespace kivo
