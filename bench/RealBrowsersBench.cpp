// The browser road against real Chromium and Firefox ESR on a private desktop (the program starts itself
// again inside scripts/with-desktop when it is not in one): reading the shown pages of a browser with 5
// windows, one verified keystroke redirect from decision to confirmed page, a blocked page opened at a
// browser's launch and one visited again right after its redirect (Back, a new window) from readable to
// its redirect page loaded, the main thread's time for a pass, the front window followed, and what Kivo
// asks of the accessibility bus and the X server while no browser is in front.
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
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrlQuery>

#include <benchmark/benchmark.h>

#include <atomic>
#include <csignal>
#include <ctime>
#include <functional>
#include <iostream>
#include <set>
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

    // Pages are not to be kept, as the tests' page server has it: Back loads the page again (Firefox's
    // back-forward cache would bring back a page whose document the accessibility bus does not show).
    bool startServer() {
        server.setWorkingDirectory(home.path());
        server.start("python3",
                     {"-u", "-c",
                      "import http.server as h\n"
                      "class Q(h.SimpleHTTPRequestHandler):\n"
                      "    def do_GET(self):\n"
                      "        b=('<title>'+self.path+'</title>').encode()\n"
                      "        self.send_response(200);self.send_header('Content-Length',str(len(b)))\n"
                      "        self.send_header('Content-Type','text/html')\n"
                      "        self.send_header('Cache-Control','no-store');self.end_headers()\n"
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
    AccessibilityBrowserBridge bridge({ports.workspace, ports.tree, ports.keystrokes, ports.inputMethod},
                                      workers, clock, timers);
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

// How many pages that `isIt` the windows of the process show (only those loaded when `loaded`).
int showing(AccessibilityTree& tree, int pid, const std::function<bool(const std::string&)>& isIt,
            bool loaded) {
    int count = 0;
    const auto app = tree.applicationElement(pid);
    for (const auto& window : tree.children(app).value_or(std::vector<AccessibilityElement>{})) {
        for (const auto& page : tree.children(window).value_or(std::vector<AccessibilityElement>{})) {
            const auto url = tree.url(page);
            count += url && isIt(*url) && (!loaded || tree.isLoading(page) == false);
        }
    }
    return count;
}

// Whether `url` is a redirect page whose `blocked=` names `blocked`.
bool redirectPageOf(const std::string& url, const std::string& blocked) {
    return url.find("/landing?blocked=") != std::string::npos &&
           AddressText::sameAddress(QUrlQuery(QUrl(QString::fromStdString(url)))
                                        .queryItemValue("blocked", QUrl::FullyDecoded)
                                        .toStdString(),
                                    blocked);
}

// The seconds from the moment `visit` has made `blocked` readable in a window of `process` (its number, 0
// while there is none) to one more of its redirect pages loaded there with `blocked` gone; none when that
// does not come within `timeout`. Watched from a thread of its own, every 10 ms, so that the monitor has
// the main thread to itself; a page redirected before the watcher saw it counts from then.
std::optional<double> secondsToRedirect(const std::function<int()>& process, const std::string& blocked,
                                        const std::function<void()>& visit, std::chrono::seconds timeout) {
    std::atomic<bool> looked{false};
    std::atomic<bool> done{false};
    std::optional<double> seconds;
    std::thread watcher([&] {
        auto& tree = rig->platform->tree();
        const auto isBlocked = [&](const std::string& u) { return AddressText::sameAddress(u, blocked); };
        const auto isRedirectPage = [&](const std::string& u) { return redirectPageOf(u, blocked); };
        const auto until = std::chrono::steady_clock::now() + timeout;
        std::optional<std::chrono::steady_clock::time_point> readable;
        int pid = 0;
        int redirectPages = 0; // those already there: at the first look, and the fewest while it is readable
        while (std::chrono::steady_clock::now() < until) {
            pid = pid ? pid : process();
            const bool shown = pid && showing(tree, pid, isBlocked, false) > 0;
            const int landed = pid ? showing(tree, pid, isRedirectPage, true) : 0;
            const auto now = std::chrono::steady_clock::now();
            if (!looked) {
                redirectPages = landed;
                looked = true;
            }
            if (shown) {
                readable = readable.value_or(now);
                redirectPages = std::min(redirectPages, landed);
            } else if (landed > redirectPages) {
                seconds = std::chrono::duration<double>(now - readable.value_or(now)).count();
                break;
            }
            std::this_thread::sleep_for(10ms);
        }
        done = true;
    });
    waitFor([&] { return looked || done; }, timeout);
    visit();
    waitFor([&] { return done.load(); }, timeout + 5s);
    watcher.join();
    return seconds;
}

// A rule group that sends the pages `pattern` catches to the server's redirect page.
BlockRuleGroup groupBlocking(const std::string& pattern) {
    BlockRuleGroup group;
    group.id = Uuid::random();
    group.name = "Bench";
    group.isEnabled = true;
    group.schedule = BlockSchedule::always();
    group.redirectURL = Url::parse(rig->url("/landing"));
    group.appendsQueryParameters = true;
    BlockRule rule;
    rule.id = Uuid::random();
    rule.pattern = pattern;
    rule.isEnabled = true;
    group.rules = {rule};
    return group;
}

// A browser started with a blocked page while the monitor runs, as the application runs it: from the
// moment the page can be read to its redirect page loaded.
void BM_LaunchToRedirect(benchmark::State& state, const std::string& id) {
    SystemClock clock;
    QtTimerFactory timers;
    BrowserMonitor monitor(rig->platform->ports(), clock, timers);
    const BlockRuleGroup group = groupBlocking("127.0.0.1:" + std::to_string(rig->port) + "/launch/*");
    monitor.start([group] { return std::vector<BlockRuleGroup>{group}; }, nullptr);
    static int serial = 0;
    int failed = 0;
    for (auto _ : state) {
        const QString profile = QString::fromStdString("launch-" + std::to_string(++serial));
        const std::string blocked = rig->url("/launch/" + std::to_string(serial));
        QProcess browser;
        browser.setStandardOutputFile(QProcess::nullDevice());
        browser.setStandardErrorFile(QProcess::nullDevice());
        const auto seconds = secondsToRedirect(
            [&] { return mainProcess(rig->home.filePath(profile)); }, blocked,
            [&] { browser.start(rig->program(id), rig->arguments(id, blocked, false, profile)); }, 40s);
        if (!seconds) {
            ++failed;
        }
        state.SetIterationTime(seconds.value_or(40));
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
void redirectRuns(benchmark::internal::Benchmark* b) {
    b->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(10)
        ->ComputeStatistics("max", largest)
        ->ReportAggregatesOnly(true);
}
BENCHMARK_CAPTURE(BM_LaunchToRedirect, chromium, kChrome)->Apply(redirectRuns);
BENCHMARK_CAPTURE(BM_LaunchToRedirect, firefox, kFirefox)->Apply(redirectRuns);

// Closes a window the bench opened (its one tab), so that the benchmarks after find the browsers as they
// were; Ctrl+W goes out only once the window is in front.
void closeWindow(XcbDesktop& x, xcb_window_t window) {
    x.requestActivation(window);
    if (!waitFor([&] { return x.activeWindow() == window; }, 10s)) {
        return;
    }
    QProcess::execute("xdotool", {"key", "ctrl+w"});
    waitFor(
        [&] {
            const auto list = x.clientList();
            return std::find(list.begin(), list.end(), window) == list.end();
        },
        10s);
}

enum class Revisit { back, newWindow };

// A blocked page visited again right after the monitor redirected it, by Back in its window or in a new
// window: from the moment it can be read again to its redirect page loaded.
void BM_RevisitToRedirect(benchmark::State& state, const std::string& id, Revisit revisit) {
    SystemClock clock;
    QtTimerFactory timers;
    BrowserMonitor monitor(rig->platform->ports(), clock, timers);
    const BlockRuleGroup group = groupBlocking("127.0.0.1:" + std::to_string(rig->port) + "/again/*");
    monitor.start([group] { return std::vector<BlockRuleGroup>{group}; }, nullptr);
    auto x = XcbDesktop::connect();
    const int pid = rig->pid(id).value_or(0);
    const auto browser = [pid] { return pid; };
    static int serial = 0;
    int failed = 0;
    for (auto _ : state) {
        const std::string blocked = rig->url("/again/" + std::to_string(++serial));
        const auto inNewWindow = [&] {
            QProcess::execute(rig->program(id), rig->arguments(id, blocked, true));
        };
        const auto back = [] { QProcess::execute("xdotool", {"key", "alt+Left"}); };
        std::set<xcb_window_t> opened;
        std::optional<double> seconds;
        if (secondsToRedirect(browser, blocked, inNewWindow, 40s)) {
            opened.insert(x->activeWindow());
            seconds = secondsToRedirect(
                browser, blocked, revisit == Revisit::back ? std::function<void()>(back) : inNewWindow, 40s);
            opened.insert(x->activeWindow());
        }
        failed += !seconds;
        state.SetIterationTime(seconds.value_or(40));
        for (const xcb_window_t window : opened) {
            closeWindow(*x, window);
        }
    }
    state.counters["failed"] = failed;
}
BENCHMARK_CAPTURE(BM_RevisitToRedirect, chromium_back, kChrome, Revisit::back)->Apply(redirectRuns);
BENCHMARK_CAPTURE(BM_RevisitToRedirect, chromium_new_window, kChrome, Revisit::newWindow)
    ->Apply(redirectRuns);
BENCHMARK_CAPTURE(BM_RevisitToRedirect, firefox_back, kFirefox, Revisit::back)->Apply(redirectRuns);
BENCHMARK_CAPTURE(BM_RevisitToRedirect, firefox_new_window, kFirefox, Revisit::newWindow)
    ->Apply(redirectRuns);

// One pass over both browsers (10 windows) with a rule that catches none of their pages: the main
// thread's CPU time from the start of the pass to its end.
void BM_PassMainThreadTime(benchmark::State& state) {
    SystemClock clock;
    QtTimerFactory timers;
    BrowserMonitor monitor(rig->platform->ports(), clock, timers);
    int passes = 0;
    QObject::connect(&monitor, &BrowserMonitor::passFinished, [&] { ++passes; });
    const BlockRuleGroup group = groupBlocking("*nothing-here.test*");
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

// The front window followed: from the request that brings the other browser's window to the front to the
// workspace naming that browser, back and forth.
void BM_FrontWindowFollowed(benchmark::State& state) {
    auto x = XcbDesktop::connect();
    auto& workspace = rig->platform->workspace();
    int failed = 0;
    for (auto _ : state) {
        const std::string& id = workspace.frontmostBundleId() == kChrome ? kFirefox : kChrome;
        QElapsedTimer elapsed;
        elapsed.start();
        x->requestActivation(x->topWindowOf(rig->pid(id).value_or(0)));
        failed += !waitFor([&] { return workspace.frontmostBundleId() == id; }, 5s);
        state.SetIterationTime(static_cast<double>(elapsed.nsecsElapsed()) * 1e-9);
    }
    state.counters["failed"] = failed;
}
BENCHMARK(BM_FrontWindowFollowed)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(20)
    ->ComputeStatistics("max", largest)
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
    // KIVO_BENCH_INPUT_METHOD=<IBus engine> (xkb:us::eng, hangul, libpinyin, mozc-jp as a user other than
    // root), or fcitx5:<engine> (keyboard-us, hangul, pinyin, mozc): the browsers type through that input
    // method with that engine, as a session that sets it up starts them. Fcitx 5 has every window start
    // in the engine, its state shared by all of them.
    const QString engine = qEnvironmentVariable("KIVO_BENCH_INPUT_METHOD");
    const bool fcitx = engine.startsWith("fcitx5:");
    QProcess daemon;
    if (!engine.isEmpty()) {
        const QString config = theRig.home.filePath("config");
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        qputenv("XDG_CACHE_HOME", theRig.home.filePath("cache").toLocal8Bit());
        qputenv("GTK_IM_MODULE", fcitx ? "fcitx" : "ibus");
        qputenv("XMODIFIERS", fcitx ? "@im=fcitx" : "@im=ibus");
        daemon.setStandardOutputFile(QProcess::nullDevice());
        daemon.setStandardErrorFile(QProcess::nullDevice());
        if (fcitx) {
            const QByteArray name = engine.mid(7).toUtf8();
            QDir().mkpath(config + "/fcitx5");
            QFile profile(config + "/fcitx5/profile");
            QFile global(config + "/fcitx5/config");
            if (!profile.open(QIODevice::WriteOnly) || !global.open(QIODevice::WriteOnly)) {
                return 1;
            }
            profile.write("[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=" + name +
                          "\n[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n[Groups/0/Items/1]\nName=" +
                          name + "\nLayout=\n[GroupOrder]\n0=Default\n");
            global.write("[Behavior]\nActiveByDefault=True\nShareInputState=All\n");
            profile.close();
            global.close();
            daemon.start("fcitx5", {"--replace"});
            const auto answers = [&] {
                auto call = QDBusMessage::createMethodCall("org.fcitx.Fcitx5", "/controller",
                                                           "org.fcitx.Fcitx.Controller1", "State");
                return QDBusConnection::sessionBus().call(call, QDBus::Block, 2000).type() ==
                       QDBusMessage::ReplyMessage;
            };
            if (!waitFor(answers, 60s)) {
                std::cerr << "RealBrowsersBench: Fcitx 5 did not start\n";
                return 1;
            }
        } else {
            daemon.start("ibus-daemon", {"--panel=disable", "--emoji-extension=disable",
                                         "--config=/usr/libexec/ibus-memconf"});
            // An engine's program may take a while to start the first time: asked again until it has.
            const auto selected = [&] {
                QProcess::execute("ibus", {"engine", engine});
                QProcess current;
                current.start("ibus", {"engine"});
                current.waitForFinished(5000);
                return QString::fromUtf8(current.readAllStandardOutput()).trimmed() == engine;
            };
            if (!waitFor(selected, 60s)) {
                std::cerr << "RealBrowsersBench: IBus did not take engine " << engine.toStdString() << "\n";
                return 1;
            }
        }
    }
    if (!theRig.startServer() || !theRig.start(kChrome) || !theRig.start(kFirefox)) {
        std::cerr << "RealBrowsersBench: the browsers did not come up\n";
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!engine.isEmpty() && daemon.state() != QProcess::Running) {
        std::cerr
            << "RealBrowsersBench: the input method stopped during the run; its figures are not its own\n";
    }
    rig = nullptr;
    daemon.kill();
    daemon.waitForFinished(3000);
    return 0;
}
