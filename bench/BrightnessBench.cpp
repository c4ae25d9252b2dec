// Setting displays through the simulated back ends with real DDC timing, and how long the main thread is
// held while a slider preview streams levels to them.

#include "app/brightness/BrightnessController.h"
#include "brightness-library/SteadySleepClock.h"
#include "brightness-library/SystemDisplayBrightnessBackend.h"
#include "core/QtTimerFactory.h"
#include "core/SystemClock.h"
#include "domain/DayOfWeekGroups.h"
#include "platform/simulated/SimulatedDdcMonitor.h"
#include "platform/simulated/SimulatedDisplays.h"
#include "platform/simulated/SimulatedI2CTransport.h"
#include "platform/simulated/SimulatedSystemEvents.h"
#include "settings/MemoryDefaultsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

namespace kivo {
namespace {

// A built-in panel on the system service and two DDC monitors, each on its own connector and bus.
struct Desk {
    std::shared_ptr<SteadySleepClock> clock = std::make_shared<SteadySleepClock>();
    std::shared_ptr<SimulatedDisplays> displays = std::make_shared<SimulatedDisplays>();
    std::shared_ptr<SimulatedI2CTransport> transport = std::make_shared<SimulatedI2CTransport>();
    std::shared_ptr<SimulatedDdcMonitor> left = std::make_shared<SimulatedDdcMonitor>(30, 100, clock);
    std::shared_ptr<SimulatedDdcMonitor> right = std::make_shared<SimulatedDdcMonitor>(30, 100, clock);
    std::shared_ptr<SystemDisplayBrightnessBackend> backend =
        std::make_shared<SystemDisplayBrightnessBackend>(displays, displays, transport, clock);
    SystemClock systemClock;
    QtTimerFactory timers;
    SimulatedSystemEvents events;
    MemoryDefaultsStore defaults;
    BrightnessTriggerStore store{defaults, "Sunrise", "Sunset", {}};
    BrightnessController controller{backend, systemClock, timers, events, events};

    Desk() {
        displays->add({ActiveDisplay{1, true, 1, 1, "Panel", "eDP-1"}});
        displays->add({ActiveDisplay{2, false, 2, 2, "Left", "DP-1"}});
        displays->add({ActiveDisplay{3, false, 2, 2, "Right", "DP-2"}});
        transport->addChannel("DP-1", DdcBusEntry{"i2c-1", "DP-1", std::nullopt}, left);
        transport->addChannel("DP-2", DdcBusEntry{"i2c-2", "DP-2", std::nullopt}, right);
        controller.start(&store);
    }

    void settle() {
        while (controller.isApplying()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    std::size_t transactions() const {
        std::size_t serviceWrites = 0;
        for (const auto& call : displays->calls()) {
            serviceWrites += call.kind == SimulatedDisplays::ServiceCall::Kind::write ? 1 : 0;
        }
        return left->messages().size() + right->messages().size() + serviceWrites;
    }
    void clearLogs() {
        left->clearLog();
        right->clearLog();
        displays->clearCalls();
    }
};

BrightnessTrigger allThree(double level) {
    return BrightnessTrigger(Uuid::random(), "All", 0, DayOfWeekGroups::allDays(),
                             {{"Panel", level}, {"Left", level}, {"Right", level}}, true, false);
}

// First set after start: each monitor's maximum is read (write, 50 ms, read) before its set.
void BM_SetTwoDdcAndOneBacklight_Uncached(benchmark::State& state) {
    std::size_t transactions = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Desk desk;
        desk.clearLogs();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        desk.controller.applyNow(allThree(0.6));
        desk.settle();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        transactions = desk.transactions();
    }
    state.counters["transactions"] = static_cast<double>(transactions);
}
BENCHMARK(BM_SetTwoDdcAndOneBacklight_Uncached)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// Later sets: one write per monitor, spaced from the previous exchange on its bus.
void BM_SetTwoDdcAndOneBacklight_Cached(benchmark::State& state) {
    Desk desk;
    desk.controller.applyNow(allThree(0.2));
    desk.settle();
    std::size_t transactions = 0;
    double level = 0.3;
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(60)); // the buses have been quiet a while
        desk.clearLogs();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        desk.controller.applyNow(allThree(level));
        desk.settle();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        transactions = desk.transactions();
        level = level > 0.8 ? 0.3 : level + 0.1;
    }
    state.counters["transactions"] = static_cast<double>(transactions);
}
BENCHMARK(BM_SetTwoDdcAndOneBacklight_Cached)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// 100 slider updates, one every 5 ms, previewed on all three displays. A 1 ms heartbeat on the main thread
// measures how long the event loop was held; the time inside each preview() call is measured as well.
void BM_Preview100Updates(benchmark::State& state) {
    double longestCallUs = 0;
    double longestGapMs = 0;
    double ddcSets = 0;
    for (auto _ : state) {
        Desk desk;
        desk.clearLogs();
        QElapsedTimer heartbeat;
        heartbeat.start();
        qint64 last = heartbeat.nsecsElapsed();
        qint64 longestGap = 0;
        QTimer beat;
        beat.setTimerType(Qt::PreciseTimer);
        QObject::connect(&beat, &QTimer::timeout, [&] {
            const qint64 now = heartbeat.nsecsElapsed();
            longestGap = std::max(longestGap, now - last);
            last = now;
        });
        beat.start(1);
        qint64 longestCall = 0;
        for (int i = 1; i <= 100; ++i) {
            QElapsedTimer call;
            call.start();
            const double level = i / 100.0;
            desk.controller.preview({{"Panel", level}, {"Left", level}, {"Right", level}});
            longestCall = std::max(longestCall, call.nsecsElapsed());
            QElapsedTimer wait;
            wait.start();
            while (wait.elapsed() < 5) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            }
        }
        desk.settle();
        beat.stop();
        longestCallUs = std::max(longestCallUs, longestCall / 1000.0);
        longestGapMs = std::max(longestGapMs, longestGap / 1e6);
        ddcSets = static_cast<double>(desk.left->appliedValues().size() + desk.right->appliedValues().size());
        if (desk.left->current() != 100 || desk.right->current() != 100) {
            state.SkipWithError("the last level did not arrive");
        }
    }
    state.counters["longest_preview_call_us"] = longestCallUs;
    state.counters["longest_main_thread_gap_ms"] = longestGapMs;
    state.counters["ddc_sets_sent"] = ddcSets;
}
BENCHMARK(BM_Preview100Updates)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace kivo

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
