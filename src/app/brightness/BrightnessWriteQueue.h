#pragma once

#include "brightness-library/DisplayBrightnessBackend.h"
#include "core/SerialWorker.h"
#include "core/TimerFactory.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

namespace kivo {

// Sets display levels off the main thread. Each display has its own connector and bus, so each gets its own
// serial worker: a slow or stuck monitor holds up only itself. While a set is running, newer levels for the
// same display replace each other and only the latest is sent next, so a slider dragged across a DDC
// monitor costs one exchange at a time, not a backlog. Nothing is queued behind a call that outlived its
// deadline; the latest level asked for meanwhile is sent when that call returns, so the stale level never
// lands last. Failures are dropped, display by display.
class BrightnessWriteQueue : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kDeadline{3000};

    BrightnessWriteQueue(std::shared_ptr<DisplayBrightnessBackend> backend, TimerFactory& timers,
                         QObject* parent = nullptr);
    ~BrightnessWriteQueue() override;

    void setBrightness(std::uint32_t displayID, float level);

    // True when no set is waiting or running. A call stuck past its deadline, and the level waiting for it
    // to return, do not count.
    bool isIdle() const;

private:
    struct Lane {
        std::unique_ptr<SerialWorker> worker;
        std::optional<float> pending;
        bool inFlight = false;
    };

    void pump(std::uint32_t displayID);

    std::shared_ptr<DisplayBrightnessBackend> backend_;
    TimerFactory& timers_;
    std::map<std::uint32_t, Lane> lanes_;
};

} // namespace kivo
