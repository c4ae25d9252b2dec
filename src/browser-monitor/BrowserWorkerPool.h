#pragma once

#include "core/SerialWorker.h"
#include "core/TimerFactory.h"

#include <map>
#include <memory>
#include <string>

namespace kivo {

// One serial worker per browser, made on first need and kept: every blocking call into one browser
// (its scripts, its accessibility tree) runs there, one after another, while different browsers are
// served in parallel. A browser whose worker is still busy with a call that outlived its deadline is
// skipped by the callers until the call returns.
class BrowserWorkerPool {
public:
    explicit BrowserWorkerPool(TimerFactory& timers) : timers_(timers) {}

    SerialWorker& worker(const std::string& bundleId);
    bool isBusy(const std::string& bundleId) const;
    bool hasWorker(const std::string& bundleId) const { return workers_.count(bundleId) > 0; }

private:
    TimerFactory& timers_;
    std::map<std::string, std::unique_ptr<SerialWorker>> workers_;
};

} // namespace kivo
