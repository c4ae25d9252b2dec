// Browser processes and front-window changes on the private desktop of scripts/with-desktop: a second
// process of a row, a browser in a PID namespace of its own, bursts of window switches, and a browser
// that comes up in front.
#include "PageServer.h"
#include "RealDesktop.h"

#include "browser-monitor/AccessibilityBrowserBridge.h"
#include "browser-monitor/BrowserMonitor.h"
#include "browser-monitor/BrowserWorkerPool.h"
#include "core/QtTimerFactory.h"
#include "core/SystemClock.h"
#include "platform/linux/LinuxAccessibilityTree.h"
#include "platform/linux/LinuxBrowserPlatform.h"
#include "platform/linux/LinuxKeystrokeSink.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/XcbDesktop.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <unistd.h>

using namespace std::chrono_literals;

namespace kivo {
namespace {

const std::string kChrome = "com.google.Chrome";

// A plain window of its own class, to be switched to.
xcb_window_t makeWindow(XcbDesktop& x, const std::string& name) {
    xcb_connection_t* c = x.connection();
    const xcb_window_t window = xcb_generate_id(c);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 80, 80, 300, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    const std::string wmClass = name + '\0' + name + '\0';
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(wmClass.size()), wmClass.data());
    xcb_ewmh_set_wm_pid(&x.ewmh(), window, static_cast<std::uint32_t>(getpid()));
    xcb_map_window(c, window);
    xcb_flush(c);
    return window;
}

class BrowserProcessesTest : public ::testing::Test {
protected:
    ~BrowserProcessesTest() override {
        for (auto& process : processes) {
            process->kill();
            process->waitForFinished(5000);
        }
        // Gone from the desktop before the next test counts Chromium's processes.
        test::waitUntil([&] { return platform->workspace().runningApplications(kChrome).size() <= before; },
                        test::kDeadline);
    }

    // Chromium with a profile of its own, in front with `page`; `prefix` runs it inside another program.
    void launch(const QStringList& prefix, const std::string& page) {
        QStringList args = prefix;
        args << "chromium"
             << "--no-sandbox"
             << "--disable-gpu"
             << "--no-first-run"
             << "--no-default-browser-check"
             << "--disable-background-networking"
             << "--disable-component-update"
             << "--password-store=basic"
             << "--force-renderer-accessibility"
             << "--user-data-dir=" + home.filePath(QString::number(processes.size()))
             << QString::fromStdString(page);
        auto& process = processes.emplace_back(std::make_unique<QProcess>());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(args.takeFirst(), args);
    }

    // What one read of the row gives, as a pass makes it.
    std::vector<std::string> read() {
        std::optional<std::optional<std::vector<std::string>>> got;
        bridge.tabURLs(kChrome, [&](auto urls) { got = std::move(urls); });
        // The bridge answers by its deadline at the latest; `got` must outlive the answer.
        test::waitUntil([&] { return got.has_value(); }, test::kDeadline);
        return got && *got ? **got : std::vector<std::string>{};
    }
    bool reads(const std::string& page) {
        const auto urls = read();
        return std::find(urls.begin(), urls.end(), page) != urls.end();
    }

    test::PageServer server;
    QTemporaryDir home;
    std::unique_ptr<XcbDesktop> x = XcbDesktop::connect();
    std::unique_ptr<LinuxBrowserPlatform> platform = LinuxBrowserPlatform::create();
    SystemClock clock;
    QtTimerFactory timers;
    BrowserWorkerPool workers{timers};
    AccessibilityBrowserBridge bridge{
        {platform->workspace(), platform->tree(), platform->keystrokes()}, workers, clock, timers};
    std::vector<std::unique_ptr<QProcess>> processes;
    const std::size_t before = platform->workspace().runningApplications(kChrome).size();
};

TEST_F(BrowserProcessesTest, EveryProcessOfTheRowIsReadAlsoInAPidNamespaceOfItsOwn) {
    // As a sandboxed package runs it: the window names the namespace's pid, the bus the host's.
    const QStringList sandbox = test::sandboxCommand({});
    struct Case {
        const char* name;
        QStringList prefix;
    } cases[] = {
        {"own-profile", {}},
        {"pid-namespace", sandbox},
        // Again: the new browser gets the gone one's pid, which must not lead to the gone one's bus name.
        {"pid-reused", sandbox},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string page = server.url(std::string("/process/") + c.name);
        // Chromium builds a window's tree once it has been in front: each comes up in front in turn.
        launch({}, server.url("/process/first"));
        ASSERT_TRUE(test::waitUntil([&] { return reads(server.url("/process/first")); }, test::kDeadline));
        launch(c.prefix, page);
        ASSERT_TRUE(test::waitUntil(
            [&] { return platform->workspace().runningApplications(kChrome).size() >= before + 2; },
            test::kDeadline));
        EXPECT_TRUE(test::waitUntil([&] { return reads(page) && reads(server.url("/process/first")); },
                                    test::kDeadline))
            << ::testing::PrintToString(read());
        for (auto& process : processes) {
            process->kill();
            process->waitForFinished(5000);
        }
        processes.clear();
        ASSERT_TRUE(test::waitUntil(
            [&] { return platform->workspace().runningApplications(kChrome).size() <= before; },
            test::kDeadline));
    }
}

TEST_F(BrowserProcessesTest, BurstsOfWindowSwitchesEndOnTheLastFrontWindow) {
    const std::vector<xcb_window_t> windows = {makeWindow(*x, "burst-a"), makeWindow(*x, "burst-b"),
                                               makeWindow(*x, "burst-c")};
    const std::vector<std::string> names = {"burst-a", "burst-b", "burst-c"};
    ASSERT_TRUE(test::waitUntil(
        [&] {
            const auto list = x->clientList();
            return std::all_of(windows.begin(), windows.end(), [&](xcb_window_t w) {
                return std::find(list.begin(), list.end(), w) != list.end();
            });
        },
        test::kDeadline));
    // Rounds of quick switches, each ending on another window.
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        const std::size_t last = static_cast<std::size_t>(round) % windows.size();
        for (int i = 0; i < 12; ++i) {
            x->requestActivation(windows[static_cast<std::size_t>(i + round) % windows.size()]);
        }
        // Asked once: a repeated request would tell the workspace again.
        x->requestActivation(windows[last]);
        ASSERT_TRUE(test::waitUntil([&] { return x->activeWindow() == windows[last]; }, test::kDeadline));
        // Only the workspace's own events tell it: nothing else happens on the desktop now, so a workspace
        // that missed the last of them stays on another window.
        EXPECT_TRUE(test::waitUntil([&] { return platform->workspace().frontmostBundleId() == names[last]; },
                                    test::kDeadline))
            << platform->workspace().frontmostBundleId();
    }
    for (const xcb_window_t window : windows) {
        xcb_destroy_window(x->connection(), window);
    }
    xcb_flush(x->connection());
}

TEST_F(BrowserProcessesTest, ABrowserThatComesUpInFrontIsReadAtTheNextPass) {
    const xcb_window_t other = makeWindow(*x, "before-launch");
    ASSERT_TRUE(test::waitUntil(
        [&] {
            return x->activeWindow() == other && platform->workspace().frontmostBundleId() == "before-launch";
        },
        test::kDeadline));
    BrowserMonitor monitor(platform->ports(), clock, timers);
    int passes = 0;
    QObject::connect(&monitor, &BrowserMonitor::passFinished, [&] { ++passes; });
    BlockRuleGroup group;
    group.id = Uuid::random();
    group.name = "Test";
    group.isEnabled = true;
    group.schedule = BlockSchedule::always();
    BlockRule rule;
    rule.id = Uuid::random();
    rule.pattern = "127.0.0.1:" + std::to_string(server.port()) + "/elsewhere/*";
    rule.isEnabled = true;
    group.rules = {rule};
    monitor.start([&] { return std::vector<BlockRuleGroup>{group}; }, nullptr);
    ASSERT_FALSE(monitor.isBrowserForeground());

    launch({}, server.url("/launched/in-front"));
    ASSERT_TRUE(test::waitUntil(
        [&] {
            const auto active = x->activeWindow();
            const auto cls = active ? x->windowClass(active) : std::nullopt;
            return cls && cls->className == "Chromium";
        },
        test::kDeadline));
    QElapsedTimer inFront;
    inFront.start();
    ASSERT_TRUE(
        test::waitUntil([&] { return monitor.isBrowserForeground() && passes > 0; }, test::kDeadline));
    std::cout << "read " << inFront.elapsed() << " ms after it came up in front\n";
    xcb_destroy_window(x->connection(), other);
    xcb_flush(x->connection());
}

} // namespace
} // namespace kivo
