#include "browser-monitor/BrowserWorkerPool.h"

#include "core/Log.h"

namespace kivo {

SerialWorker& BrowserWorkerPool::worker(const std::string& bundleId) {
    auto& slot = workers_[bundleId];
    if (!slot) {
        slot = std::make_unique<SerialWorker>(std::string(kBundleIdentifier) + ".applescript." + bundleId,
                                              timers_);
    }
    return *slot;
}

bool BrowserWorkerPool::isStuck(const std::string& bundleId) const {
    if (overdue_.count(bundleId) == 0) {
        return false;
    }
    auto it = workers_.find(bundleId);
    return it != workers_.end() && it->second->isBusy();
}

} // namespace kivo
