#pragma once

#include "browser-monitor/ports/BusBrowsers.h"

#include <mutex>

namespace kivo {

// The browsers on a simulated accessibility bus, as a test sets them. Read from worker threads.
class SimulatedBusBrowsers final : public BusBrowsers {
public:
    std::optional<std::vector<Browser>> browsers() override {
        std::lock_guard lock(mutex_);
        ++reads_;
        if (unreadable_) {
            return std::nullopt;
        }
        return browsers_;
    }

    void setBrowsers(std::vector<Browser> browsers) {
        std::lock_guard lock(mutex_);
        browsers_ = std::move(browsers);
    }
    // The bus does not answer: every read fails.
    void setUnreadable(bool unreadable) {
        std::lock_guard lock(mutex_);
        unreadable_ = unreadable;
    }
    int reads() const {
        std::lock_guard lock(mutex_);
        return reads_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Browser> browsers_;
    bool unreadable_ = false;
    int reads_ = 0;
};

} // namespace kivo
