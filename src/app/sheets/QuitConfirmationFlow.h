#pragma once

#include "app/sheets/QuitSource.h"
#include "core/Timer.h"
#include "domain/QuitFlowState.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

namespace kivo {

class TimerFactory;

// The ten-second wait before a quit started inside Kivo can be confirmed. The sheet shows `state`; only
// `confirm` at 0 runs the approved-quit action.
class QuitConfirmationFlow : public QObject {
    Q_OBJECT
public:
    static constexpr std::int64_t countdownSeconds = 10;

    explicit QuitConfirmationFlow(TimerFactory& timers, QObject* parent = nullptr);
    ~QuitConfirmationFlow() override;

    const QuitFlowState& state() const { return state_; }
    QuitSource source() const { return source_; }
    bool hasPendingQuit() const { return static_cast<bool>(performQuit_); }
    bool isTicking() const;

    // Starts the countdown at 10, also while one runs, and keeps the action (an earlier one is dropped).
    void begin(QuitSource source, std::function<void()> performQuit);
    // Stops the countdown and drops the action.
    void cancel();
    // Only at 0: returns to idle, then runs the action.
    void confirm();

signals:
    void stateChanged();
    void sourceChanged();

private:
    void tick();
    void setState(QuitFlowState state);

    std::unique_ptr<Timer> timer_;
    QuitFlowState state_;
    QuitSource source_ = QuitSource::menuBar;
    std::function<void()> performQuit_;
};

} // namespace kivo
