#pragma once

#include "core/SerialWorker.h"
#include "core/TimerFactory.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace kivo {

// One serial worker per browser, made on first need and kept: every blocking call into one browser
// (its scripts, its accessibility tree) runs there, one after another, while different browsers are
// served in parallel. A browser whose call outlived its deadline and still has not returned is stuck:
// nothing is queued behind the stuck call until it returns.
class BrowserWorkerPool {
public:
    explicit BrowserWorkerPool(TimerFactory& timers) : timers_(timers) {}

    // `done` runs on the owner's thread with the result, or with none at the deadline. While the browser
    // is stuck the work is not run and `done` gets none at once.
    template <class R>
    void submit(const std::string& bundleId, std::function<R()> work, std::chrono::milliseconds deadline,
                std::function<void(std::optional<R>)> done) {
        if (isStuck(bundleId)) {
            if (done) {
                done(std::nullopt);
            }
            return;
        }
        overdue_.erase(bundleId);
        worker(bundleId).submit<R>(std::move(work), deadline,
                                   [this, bundleId, done = std::move(done)](std::optional<R> result) {
                                       if (!result) {
                                           overdue_.insert(bundleId);
                                       }
                                       if (done) {
                                           done(std::move(result));
                                       }
                                   });
    }

    bool isStuck(const std::string& bundleId) const;

private:
    SerialWorker& worker(const std::string& bundleId);

    TimerFactory& timers_;
    std::map<std::string, std::unique_ptr<SerialWorker>> workers_;
    std::set<std::string> overdue_; // the last call timed out (it may have returned since)
};

} // namespace kivo
