#include "app/brightness/BrightnessWriteQueue.h"

#include "core/Log.h"

#include <string>

namespace kivo {

BrightnessWriteQueue::BrightnessWriteQueue(std::shared_ptr<DisplayBrightnessBackend> backend,
                                           TimerFactory& timers, QObject* parent)
    : QObject(parent), backend_(std::move(backend)), timers_(timers) {}

BrightnessWriteQueue::~BrightnessWriteQueue() = default;

void BrightnessWriteQueue::setBrightness(std::uint32_t displayID, float level) {
    Lane& lane = lanes_[displayID];
    if (!lane.worker) {
        lane.worker = std::make_unique<SerialWorker>("display-" + std::to_string(displayID), timers_);
        connect(lane.worker.get(), &SerialWorker::idle, this, [this, displayID] { pump(displayID); });
    }
    lane.pending = level;
    pump(displayID);
}

void BrightnessWriteQueue::pump(std::uint32_t displayID) {
    Lane& lane = lanes_[displayID];
    if (lane.inFlight || !lane.pending) {
        return;
    }
    if (lane.worker->isBusy()) {
        // An earlier call is stuck past its deadline; queueing behind it would only pile up work. The
        // level stays pending (newer ones replace it) and goes out when the worker reports idle.
        qCDebug(lcBrightness, "Display %u still busy; level held back", displayID);
        return;
    }
    const float level = *lane.pending;
    lane.pending.reset();
    lane.inFlight = true;
    lane.worker->submit<bool>(
        [backend = backend_, displayID, level] { return backend->setBrightness(displayID, level).ok(); },
        kDeadline,
        [this, displayID](std::optional<bool>) {
            lanes_[displayID].inFlight = false;
            pump(displayID);
        });
}

bool BrightnessWriteQueue::isIdle() const {
    for (const auto& [id, lane] : lanes_) {
        if (lane.inFlight || (lane.pending && !lane.worker->isBusy())) {
            return false;
        }
    }
    return true;
}

} // namespace kivo
