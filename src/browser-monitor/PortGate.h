#pragma once

#include <mutex>
#include <shared_mutex>
#include <utility>

namespace kivo {

// Lets jobs on worker threads use ports that their owner may destroy while a job is still in flight (at
// quit, or a stuck call that outlives its deadline). While open, each call goes through under a shared
// lock; `close` waits for the calls in progress (each bounded by its own timeout) and from then on every
// call is refused, so a late job runs to its end touching nothing that is gone.
class PortGate {
public:
    template <class F, class R> R call(F&& f, R refused) {
        std::shared_lock lock(mutex_);
        if (!open_) {
            return refused;
        }
        return std::forward<F>(f)();
    }
    void close() {
        std::unique_lock lock(mutex_);
        open_ = false;
    }

private:
    std::shared_mutex mutex_;
    bool open_ = true;
};

} // namespace kivo
