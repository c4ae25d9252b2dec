#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace kivo {

class DefaultsStore;
class Timer;
class TimerFactory;

// Keeps a store's failed save from being forgotten. The store reports the outcome of every save; after
// a failure it counts as unsaved, and `retry` (which saves whatever is unsaved) runs every kInterval
// until a save lands: the store also saves again at its next change, and the application at quit. The
// user is not told; the log says when a save failed and when a later one landed.
class SaveRetry {
public:
    static constexpr std::chrono::seconds kInterval{30};

    SaveRetry(std::string what, const DefaultsStore& defaults, std::function<void()> retry);
    ~SaveRetry();
    SaveRetry(const SaveRetry&) = delete;
    SaveRetry& operator=(const SaveRetry&) = delete;

    // Without timers only the next change and the quit save again.
    void setTimerFactory(TimerFactory& timers);

    bool hasUnsavedChanges() const { return unsaved_; }
    void recordOutcome(bool saved);

private:
    void schedule();

    std::string what_;
    const DefaultsStore& defaults_;
    std::function<void()> retry_;
    TimerFactory* timers_ = nullptr;
    std::unique_ptr<Timer> timer_;
    bool unsaved_ = false;
};

} // namespace kivo
