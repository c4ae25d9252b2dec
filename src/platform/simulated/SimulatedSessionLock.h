#pragma once

#include "app/shield/SessionLockSource.h"

#include <utility>

namespace kivo {

// A login manager a test makes report its session's lock and the machine's sleep.
class SimulatedSessionLock final : public SessionLockSource {
public:
    void setSessionLockHandler(std::function<void(Change)> handler) override {
        handler_ = std::move(handler);
    }
    bool isFollowed() const { return static_cast<bool>(handler_); }
    void report(Change change) {
        if (handler_) {
            auto handler = handler_;
            handler(change);
        }
    }

private:
    std::function<void(Change)> handler_;
};

} // namespace kivo
