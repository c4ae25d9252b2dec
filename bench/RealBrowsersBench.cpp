// The browser road against real Chromium and Firefox ESR on a private desktop (the program starts itself
// again inside scripts/with-desktop when it is not in one): reading the shown pages of a browser with 5
// windows, one verified keystroke redirect from decision to confirmed page, a blocked page opened at a
// browser's launch from readable to its redirect page loaded, the main thread's time for a pass, and what
// Kivo asks of the accessibility bus and the X server while no browser is in front.
#include "browser-monitor/AccessibilityBrowserBridge.h"
#include "browser-monitor/AddressText.h"
#include "browser-monitor/BrowserMonitor.h"
#include "browser-monitor/BrowserWorkerPool.h"
#include "core/QtTimerFactory.h"
#include "core/SystemClock.h"
#include "platform/linux/LinuxAccessibilityTree.h"
#include "platform/linux/LinuxBrowserPlatform.h"
#include "platform/linux/LinuxKeystrokeSink.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/XcbDesktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <atomic>
#include <csignal>
#include <ctime>
#include <functional>
#include <iostream>
#include <thread>
#include <unistd.h>

namespace {

using namespace kivo;
using namespace std::chrono_literals;

const std::string kChrome = "com.google.Chrome";
const std::string kFirefox = "org.mozilla.firefox";

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > timeout.count()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Two browsers with fresh profiles, 5 windows each, pages from a local server, nothing leaves the machine.
struct Rig {
    QTemporaryDir home;
    QProcess server;
    int port = 0;
    std::unique_ptr<LinuxBrowserPlatform> platform = LinuxBrowserPlatform::create();
    std::map<std::string, std::unique_ptr<QProcess>> browsers;

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port) + path;
    }

    bool startServer() {
        server.setWorkingDirectory(home.path());
        server.start("python3",
                     {"-u", "-c",
                      "import http.server as h\n"
                      "class Q(h.SimpleHTTPRequestHandler):\n"
                      "    def do_GET(self):\n"
                      "        b=('<title>'+self.path+'</title>').encode()\n"
                      "        self.send_response(200);self.send_header('Content-Length',str(len(b)))\n"
                      "        self.send_header('Content-Type','text/html');self.end_headers()\n"
                      "        self.wfile.write(b)\n"
                      "    def log_message(self,*a): pass\n"
                      "s=h.ThreadingHTTPServer(('127.0.0.1',0),Q)\n"
                      "print(s.server_address[1],flush=True)\n"
                      "s.serve_forever()\n"});
        if (!server.waitForReadyRead(10000)) {
            return false;
        }
        port = server.readLine().trimmed().toInt();
        return port > 0;
    }
    QStringList arguments(const std::string& id, const std::string& page, bool newWindow,
                          const QString& profileName = {}) {
        const QString profile =
            home.filePath(profileName.isEmpty() ? QString::fromStdString(id) : profileName);
        QStringList args;
        if (id == kChrome) {
            args << "--no-sandbox"
                 << "--disable-gpu"
                 << "--disable-background-networking"
                 << "--disable-component-update"
                 << "--disable-sync"
                 << "--no-first-run"
                 << "--no-default-browser-check"
                 << "--password-store=basic"
                 << "--force-renderer-accessibility"
                 << "--user-data-dir=" + profile
                 << "--host-resolver-rules=MAP * ~NOTFOUND , EXCLUDE 127.0.0.1";
        } else {
            QDir().mkpath(profile);
            QFile prefs(profile + "/user.js");
            if (prefs.open(QIODevice::WriteOnly)) {
                prefs.write("user_pref(\"network.proxy.type\", 1);\n"
                            "user_pref(\"network.proxy.http\", \"127.0.0.1\");\n"
                            "user_pref(\"network.proxy.http_port\", 9);\n"
                            "user_pref(\"network.proxy.ssl\", \"127.0.0.1\");\n"
                            "user_pref(\"network.proxy.ssl_port\", 9);\n"
                            "user_pref(\"network.proxy.no_proxies_on\", \"127.0.0.1\");\n"
                            "user_pref(\"browser.shell.checkDefaultBrowser\", false);\n"
                            "user_pref(\"browser.aboutwelcome.enabled\", false);\n"
                            "user_pref(\"datareporting.policy.dataSubmissionEnabled\", false);\n"
                            "user_pref(\"app.update.enabled\", false);\n");
            }
            args << "--profile" << profile;
        }
        if (newWindow) {
            args << "--new-window";
        }
        if (!profileName.isEmpty() && id == kFirefox) {
            args << "--new-instance";
        }
        return args << QString::fromStdString(page);
    }
    const char* program(const std::string& id) { return id == kChrome ? "chromium" : "firefox-esr"; }
    std::optional<int> pid(const std::string& id) {
        const auto apps = platform->workspace().runningApplications(id);
        return apps.empty() ? std::nullopt : std::optional<int>(apps.front().processId);
    }
    std::vector<std::string> shown(const std::string& id) {
        const auto p = pid(id);
        if (!p) {
            return {};
        }
        auto& tree = platform->tree();
        return AccessibilityBrowserBridge::collectWebAreaURLs(tree, tree.applicationElement(*p));
    }
    bool shows(const std::string& id, const std::string& page) {
        const auto pages = shown(id);
        return std::any_of(pages.begin(), pages.end(),
                           [&](const std::string& s) { return AddressText::sameAddress(s, page); });
    }
    bool start(const std::string& id) {
        auto process = std::make_unique<QProcess>();
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        const std::string first = url("/" + std::string(program(id)) + "/0");
        process->start(program(id), arguments(id, first, false));
        browsers[id] = std::move(process);
        if (!waitFor([&] { return shows(id, first); }, 30s)) {
            return false;
        }
        for (int i = 1; i < 5; ++i) {
            const std::string page = url("/" + std::string(program(id)) + "/" + std::to_string(i));
            QProcess::execute(program(id), arguments(id, page, true));
            if (!waitFor([&] { return shows(id, page); }, 15s)) {
                return false;
            }
        }
        return true;
    }
    ~Rig() {
        for (auto& [id, process] : browsers) {
            if (const auto p = pid(id)) {
                ::kill(*p, SIGKILL);
            }
            process->kill();
            process->waitForFinished(3000);
        }
        server.kill();
        server.waitForFinished(3000);
    }
};

Rig* rig = nullptr;

void BM_ShownPagesOfFiveWindows(benchmark::State& state, const std::string& id) {
    auto& tree = rig->platform->tree();
    const auto pid = rig->pid(id);
    std::size_t pages = 0;
    for (auto _ : state) {
        if (!pid) {
            state.SkipWithError("browser not running");
            break;
        }
        pages = AccessibilityBrowserBridge::collectWebAreaURLs(tree, tree.applicationElement(*pid)).size();
    }
    state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK_CAPTURE(BM_ShownPagesOfFiveWindows, chromium, kChrome)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(40)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_ShownPagesOfFiveWindows, firefox, kFirefox)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(40)
    ->ReportAggregatesOnly(true);

void BM_VerifiedKeystrokeRedirect(benchmark::State& state, const std::string& id) {
    SystemClock clock;
    QtTimerFactory timers;
    BrowserWorkerPool workers(timers);
    auto ports = rig->platform->ports();
    AccessibilityBrowserBridge bridge({ports.workspace, ports.tree, ports.keystrokes}, workers, clock,
                                      timers);
    static int serial = 0;
    // Each redirect starts from the page the last one left in front.
    static std::map<std::string, std::string> shownInFront;
    if (!shownInFront.count(id)) {
        shownInFront[id] = rig->url("/" + std::string(rig->program(id)) + "/4");
    }
    std::string& current = shownInFront[id];
    int failed = 0;
    for (auto _ : state) {
        const std::string next = rig->url("/redirected/" + std::to_string(++serial));
        std::optional<bool> sent;
        QElapsedTimer elapsed;
        elapsed.start();
        bridge.redirect(id, current, next, [&](bool s) { sent = s; });
        waitFor([&] { return sent.has_value(); }, 10s);
        state.SetIterationTime(static_cast<double>(elapsed.nsecsElapsed()) * 1e-9);
        if (sent.value_or(false)) {
            current = next;
        } else {
            ++failed;
        }
    }
    state.counters["failed"] = failed;
}
BENCHMARK_CAPTURE(BM_VerifiedKeystrokeRedirect, chromium, kChrome)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_VerifiedKeystrokeRedirect, firefox, kFirefox)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// The browser's main process started with this profile (Chromium's helpers and Firefox's content processes
// name their kind on the command line); 0 while there is none.
int mainProcess(const QString& profile) {
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const int pid = entry.toInt(&number);
        QFile file("/proc/" + entry + "/cmdline");
        if (!number || !file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray cmdline = file.readAll();
        if (cmdline.contains(profile.toUtf8()) && !cmdline.contains("--type=") &&
            !cmdline.contains("-contentproc") && !cmdline.startsWith("/bin/sh") &&
            (cmdline.contains("/chromium") || cmdline.contains("firefox"))) {
            return pid;
        }
    }
    return 0;
}

// Whether a window of the process shows a page that `isIt`, loaded when `loaded`.
bool shows(AccessibilityTree& tree, int pid, const std::function<bool(const std::string&)>& isIt,
           bool loaded) {
    const auto app = tree.applicationElement(pid);
    for (const auto& window : tree.children(app).value_or(std::vector<AccessibilityElement>{})) {
        for (const auto& page : tree.children(window).value_or(std::vector<AccessibilityElement>{})) {
            const auto url = tree.url(page);
            if (url && isIt(*url) && (!loaded || tree.isLoading(page) == false)) {
                return true;
            }
        }
    }
    return false;
}

// A browser started with a blocked page while the monitor runs, as the application runs it: from the
// moment the page can be read (watched on a thread of its own, every 10 ms) to its redirect page loaded.
void BM_LaunchToRedirect(benchmark::State& state, const std::string& id) {
    SystemClock clock;
    QtTimerFactory timers;
    BrowserMonitor monitor(rig->platform->ports(), clock, timers);
    BlockRuleGroup group;
    group.id = Uuid::random();
    group.name = "Bench";
    group.isEnabled = true;
    group.schedule = BlockSchedule::always();
    group.redirectURL = Url::parse(rig->url("/landing"));
    group.appendsQueryParameters = true;
    BlockRule rule;
    rule.id = Uuid::random();
    rule.pattern = "127.0.0.1:" + std::to_string(rig->port) + "/launch/*";
    rule.isEnabled = true;
    group.rules = {rule};
    monitor.start([group] { return std::vector<BlockRuleGroup>{group}; }, nullptr);
    static int serial = 0;
    int failed = 0;
    for (auto _ : state) {
        const QString profile = QString::fromStdString("launch-" + std::to_string(++serial));
        const std::string blocked = rig->url("/launch/" + std::to_string(serial));
        QProcess browser;
        browser.setStandardOutputFile(QProcess::nullDevice());
        browser.setStandardErrorFile(QProcess::nullDevice());
        browser.start(rig->program(id), rig->arguments(id, blocked, false, profile));
        std::atomic<bool> done{false};
        std::atomic<double> seconds{-1};
        std::thread watcher([&] {
            auto& tree = rig->platform->tree();
            const auto until = std::chrono::steady_clock::now() + 40s;
            std::optional<std::chrono::steady_clock::time_point> readable;
            int pid = 0;
            while (std::chrono::steady_clock::now() < until) {
                pid = pid ? pid : mainProcess(rig->home.filePath(profile));
                if (pid && !readable &&
                    shows(
                        tree, pid, [&](const std::string& u) { return u == blocked; }, false)) {
                    readable = std::chrono::steady_clock::now();
                }
                if (pid &&
                    shows(
                        tree, pid,
                        [](const std::string& u) { return u.find("/landing?blocked=") != std::string::npos; },
                        true)) {
                    const auto now = std::chrono::steady_clock::now();
                    // Redirected before the watcher saw the page at all: counted from now.
                    seconds = std::chrono::duration<double>(now - readable.value_or(now)).count();
                    break;
                }
                std::this_thread::sleep_for(10ms);
            }
            done = true;
        });
        waitFor([&] { return done.load(); }, 45s);
        watcher.join();
        if (seconds < 0) {
            ++failed;
            state.SetIterationTime(40);
        } else {
            state.SetIterationTime(seconds);
        }
        if (const int pid = mainProcess(rig->home.filePath(profile))) {
            ::kill(pid, SIGKILL);
        }
        browser.kill();
        browser.waitForFinished(5000);
        waitFor([&] { return !mainProcess(rig->home.filePath(profile)); }, 10s);
    }
    state.counters["failed"] = failed;
}
double largest(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}
void launchRuns(benchmark::internal::Benchmark* b) {
    b->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(10)
        ->ComputeStatistics("max", largest)
        ->ReportAggregatesOnly(true);
}
BENCHMARK_CAPTURE(BM_LaunchToRedirect, chromium, kChrome)->Apply(launchRuns);
BENCHMARK_CAPTURE(BM_LaunchToRedirect, firefox, kFirefox)->Apply(launchRuns);

// One pass over both browsers (10 windows) with a rule that catches none of their pages: the main
// thread's CPU time from the start of the pass to its end.
void BM_PassMainThreadTime(benchmark::State& state) {
    SystemClock clock;
    QtTimerFactory timers;
    BrowserMonitor monitor(rig->platform->ports(), clock, timers);
    int passes = 0;
    QObject::connect(&monitor, &BrowserMonitor::passFinished, [&] { ++passes; });
    BlockRuleGroup group;
    group.id = Uuid::random();
    group.name = "Bench";
    group.isEnabled = true;
    group.schedule = BlockSchedule::always();
    BlockRule rule;
    rule.id = Uuid::random();
    rule.pattern = "*nothing-here.test*";
    rule.isEnabled = true;
    group.rules = {rule};
    monitor.start([group] { return std::vector<BlockRuleGroup>{group}; }, nullptr);
    for (auto _ : state) {
        const int before = passes;
        const double start = threadSeconds();
        monitor.pollOnce();
        QEventLoop loop;
        QObject::connect(&monitor, &BrowserMonitor::passFinished, &loop, &QEventLoop::quit);
        if (passes == before) {
            loop.exec();
        }
        state.SetIterationTime(threadSeconds() - start);
    }
}
BENCHMARK(BM_PassMainThreadTime)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(30)
    ->ReportAggregatesOnly(true);

// Another program in front: once the loop has stopped, Kivo asks nothing of the accessibility bus or the
// X server for browsers.
void BM_IdleWithoutABrowserInFront(benchmark::State& state) {
    SystemClock clock;
    QtTimerFactory timers;
    auto& platform = *rig->platform;
    BrowserMonitor monitor(platform.ports(), clock, timers);
    monitor.start([] { return std::vector<BlockRuleGroup>{}; }, nullptr);
    auto x = XcbDesktop::connect();
    xcb_connection_t* c = x->connection();
    const xcb_window_t notes = xcb_generate_id(c);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, notes, screen->root, 0, 0, 300, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_ewmh_set_wm_pid(&x->ewmh(), notes, static_cast<std::uint32_t>(getpid()));
    xcb_map_window(c, notes);
    x->requestActivation(notes);
    waitFor([&] { return !monitor.isBrowserForeground(); }, 3s);
    waitFor([&] { return !monitor.isPolling(); }, BrowserMonitor::kStopDelay + 2s);
    double calls = 0;
    double trips = 0;
    for (auto _ : state) {
        const long busBefore = platform.tree().busCalls();
        const long xBefore = platform.workspace().roundTrips();
        waitFor([] { return false; }, 3s);
        calls = static_cast<double>(platform.tree().busCalls() - busBefore) / 3.0;
        trips = static_cast<double>(platform.workspace().roundTrips() - xBefore) / 3.0;
    }
    state.counters["atspi_calls_per_s"] = calls;
    state.counters["x_requests_per_s"] = trips;
    xcb_destroy_window(c, notes);
    xcb_flush(c);
}
BENCHMARK(BM_IdleWithoutABrowserInFront)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    // Outside a desktop of its own, start one and run there.
    if (qEnvironmentVariableIsEmpty("KIVO_BENCH_DESKTOP")) {
        setenv("KIVO_BENCH_DESKTOP", "1", 1);
        std::vector<char*> args{const_cast<char*>(KIVO_SOURCE_DIR "/scripts/with-desktop"),
                                const_cast<char*>("--a11y"), const_cast<char*>("--")};
        for (int i = 0; i < argc; ++i) {
            args.push_back(argv[i]);
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        std::cerr << "RealBrowsersBench: cannot start a desktop\n";
        return 1;
    }
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules("app.kivo.*.debug=false\napp.kivo.*.info=false");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    Rig theRig;
    rig = &theRig;
    if (!theRig.startServer() || !theRig.start(kChrome) || !theRig.start(kFirefox)) {
        std::cerr << "RealBrowsersBench: the browsers did not come up\n";
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rig = nullptr;
    return 0;
}
