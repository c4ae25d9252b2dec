#pragma once

#include <chrono>
#include <functional>

namespace kivo {

// A timer made by a TimerFactory. Its callback runs on the thread that owns the factory (the main thread).
class Timer {
public:
    virtual ~Timer() = default;

    void setCallback(std::function<void()> callback) { callback_ = std::move(callback); }
    void setSingleShot(bool singleShot) { singleShot_ = singleShot; }
    bool isSingleShot() const { return singleShot_; }

    // (Re)starts the timer; a running timer starts counting again from now.
    virtual void start(std::chrono::milliseconds interval) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

protected:
    void fire() {
        if (callback_) {
            auto keep = callback_; // the callback may replace itself or destroy the timer's owner state
            keep();
        }
    }

private:
    std::function<void()> callback_;
    bool singleShot_ = false;
};

} // namespace kivo
