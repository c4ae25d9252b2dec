// Main-thread cost of one poll pass: 11 running browsers with 20 windows each, 1,000 active rules, a
// simulated desktop that answers at once. The figure is the main thread's CPU time from the start of the
// pass to its end; reading the browsers runs on their workers meanwhile.
#include "browser-monitor/BrowserMonitor.h"
#include "browser-monitor/SupportedBrowsers.h"
#include "core/QtTimerFactory.h"
#include "core/SystemClock.h"
#include "platform/simulated/SimulatedAccessibilityTree.h"
#include "platform/simulated/SimulatedAutomationConsent.h"
#include "platform/simulated/SimulatedBrowserWorld.h"
#include "platform/simulated/SimulatedKeystrokeSink.h"
#include "platform/simulated/SimulatedScriptHost.h"
#include "platform/simulated/SimulatedWorkspace.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLoggingCategory>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

namespace {

using namespace kivo;

double threadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

BlockRule makeRule(const std::string& pattern, RuleAction action) {
    return BlockRule{Uuid::random(), pattern, true, action, std::nullopt, std::nullopt};
}

// 1,000 rules of the usual shapes (exact host, host and path, any subdomain, anywhere) in 10 groups;
// every tenth rule allows.
std::vector<BlockRuleGroup> makeGroups(bool active) {
    std::vector<BlockRuleGroup> groups;
    for (int g = 0; g < 10; ++g) {
        BlockRuleGroup group;
        group.id = Uuid::random();
        group.name = "Group " + std::to_string(g);
        group.isEnabled = true;
        if (!active) {
            RecurringSchedule never;
            never.daysOfWeek = {};
            never.timeWindows = {TimeWindow{0, 0}};
            group.schedule = BlockSchedule::recurring(never);
        }
        for (int r = 0; r < 100; ++r) {
            const int i = g * 100 + r;
            const std::string domain = "blocked" + std::to_string(i) + ".test";
            std::string pattern;
            switch (i % 4) {
            case 0:
                pattern = domain;
                break;
            case 1:
                pattern = "www." + domain + "/*";
                break;
            case 2:
                pattern = "*." + domain;
                break;
            default:
                pattern = "*" + domain + "/watch*";
                break;
            }
            group.rules.push_back(makeRule(pattern, i % 10 == 9 ? RuleAction::allow : RuleAction::block));
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

struct Desktop {
    SimulatedBrowserWorld world;
    SimulatedWorkspace workspace{world};
    SimulatedScriptHost scriptHost{world};
    SimulatedAutomationConsent consent{world};
    SimulatedAccessibilityTree tree{world};
    SimulatedKeystrokeSink keystrokes{world};
    SystemClock clock;
    QtTimerFactory timers;
    BrowserMonitor monitor{{workspace, scriptHost, consent, tree, keystrokes}, clock, timers};

    explicit Desktop(bool activeRules) {
        for (const auto& row : SupportedBrowsers::all()) {
            std::vector<std::optional<std::string>> windows;
            for (int w = 0; w < 20; ++w) {
                windows.push_back("https://www.site" + std::to_string(w) + ".example/" + row.displayName +
                                  "/article?id=" + std::to_string(w));
            }
            world.addBrowser(row.bundleId, windows);
        }
        auto groups = makeGroups(activeRules);
        monitor.start([groups] { return groups; }, nullptr);
    }

    // Runs one pass to its end; returns the main thread's CPU seconds spent on it.
    double pass() {
        QEventLoop loop;
        bool finished = false;
        auto connection = QObject::connect(&monitor, &BrowserMonitor::passFinished, [&] {
            finished = true;
            loop.quit();
        });
        const double before = threadSeconds();
        monitor.pollOnce();
        if (!finished) {
            loop.exec();
        }
        const double spent = threadSeconds() - before;
        QObject::disconnect(connection);
        return spent;
    }
};

void BM_PollPass_11Browsers20Windows1000Rules(benchmark::State& state) {
    Desktop desktop(true);
    desktop.pass(); // compile the scripts once, as the first pass of a session does
    desktop.world.resetCallCounts();
    std::vector<double> times;
    for (auto _ : state) {
        const double spent = desktop.pass();
        times.push_back(spent);
        state.SetIterationTime(spent);
    }
    std::sort(times.begin(), times.end());
    state.counters["p50_ms"] = times[times.size() / 2] * 1e3;
    state.counters["p99_ms"] = times[times.size() * 99 / 100] * 1e3;
    state.counters["max_ms"] = times.back() * 1e3;
    state.counters["script_runs_per_pass"] =
        static_cast<double>(desktop.world.callCounts().scriptRuns) / static_cast<double>(state.iterations());
    state.counters["active_rules"] = static_cast<double>(desktop.monitor.cachedActiveRules().size());
}
BENCHMARK(BM_PollPass_11Browsers20Windows1000Rules)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_PollPass_NoActiveRules(benchmark::State& state) {
    Desktop desktop(false);
    desktop.world.resetCallCounts();
    for (auto _ : state) {
        state.SetIterationTime(desktop.pass());
    }
    state.counters["platform_calls"] = desktop.world.callCounts().total();
}
BENCHMARK(BM_PollPass_NoActiveRules)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules("app.kivo.*.debug=false"); // the figures are of the pass, not of logging
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
