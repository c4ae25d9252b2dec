#pragma once

#include "core/Timer.h"
#include "domain/QuitFlowState.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <variant>

namespace kivo {

class TimerFactory;

// Erasing all data is guarded twice: a warning to pass with Continue, then a ten-second countdown after
// which the erase can be confirmed.
class EraseAllDataFlow : public QObject {
    Q_OBJECT
public:
    static constexpr std::int64_t countdownSeconds = 10;

    // Where the road stands: inactive, the warning, or counting down (with its countdown).
    class Stage {
    public:
        static Stage inactive() { return Stage(Inactive{}); }
        static Stage warning() { return Stage(Warning{}); }
        static Stage countingDown(QuitFlowState countdown) { return Stage(std::move(countdown)); }

        bool isInactive() const { return std::holds_alternative<Inactive>(value_); }
        bool isWarning() const { return std::holds_alternative<Warning>(value_); }
        bool isCountingDown() const { return std::holds_alternative<QuitFlowState>(value_); }
        // The countdown while counting down; none otherwise.
        const QuitFlowState* countdown() const { return std::get_if<QuitFlowState>(&value_); }

        friend bool operator==(const Stage&, const Stage&) = default;

    private:
        struct Inactive {
            friend bool operator==(const Inactive&, const Inactive&) = default;
        };
        struct Warning {
            friend bool operator==(const Warning&, const Warning&) = default;
        };
        using Value = std::variant<Inactive, Warning, QuitFlowState>;
        explicit Stage(Value value) : value_(std::move(value)) {}
        Value value_;
    };

    explicit EraseAllDataFlow(TimerFactory& timers, QObject* parent = nullptr);
    ~EraseAllDataFlow() override;

    const Stage& stage() const { return stage_; }
    bool hasPendingErase() const { return static_cast<bool>(performErase_); }
    bool isTicking() const;

    // Shows the warning and keeps the action (an earlier one is dropped). A countdown still running
    // stops ticking, since the stage no longer counts.
    void begin(std::function<void()> performErase);
    // From the warning only: starts the ten-second countdown.
    void continueToCountdown();
    // Only when the countdown has reached 0: returns to inactive, then runs the action.
    void confirm();
    // Back to inactive; the action is dropped without running.
    void cancel();

signals:
    void stageChanged();

private:
    void tick();
    void setStage(Stage stage);

    std::unique_ptr<Timer> timer_;
    Stage stage_ = Stage::inactive();
    std::function<void()> performErase_;
};

} // namespace kivo
