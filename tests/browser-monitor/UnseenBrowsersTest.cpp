#include "SimulatedDesktop.h"
#include "browser-monitor/BrowserMonitor.h"
#include "platform/simulated/SimulatedBusBrowsers.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace std::chrono_literals;

namespace kivo {
namespace {

const std::string kChrome = "com.google.Chrome";
const std::string kBrave = "com.brave.Browser";
const std::string kFirefox = "org.mozilla.firefox";

using Bus = std::vector<BusBrowsers::Browser>;
using Names = std::vector<std::string>;

// The simulated desktop's workspace, except that the windows of `unmapped` processes have not appeared
// yet (a browser is on the accessibility bus a moment before its first window).
class LateWindows final : public Workspace {
public:
    explicit LateWindows(Workspace& real) : real_(real) {}
    std::set<int> unmapped;

    std::string frontmostBundleId() override { return real_.frontmostBundleId(); }
    std::vector<RunningApplication> runningApplications(const std::string& bundleId) override {
        auto apps = real_.runningApplications(bundleId);
        std::erase_if(apps, [&](const RunningApplication& a) { return unmapped.count(a.processId) > 0; });
        return apps;
    }
    bool activate(int processId) override { return real_.activate(processId); }
    ObserverToken addActivationObserver(ApplicationHandler handler) override {
        return real_.addActivationObserver(std::move(handler));
    }
    ObserverToken addLaunchObserver(ApplicationHandler handler) override {
        return real_.addLaunchObserver(std::move(handler));
    }
    void removeObserver(ObserverToken token) override { real_.removeObserver(token); }

private:
    Workspace& real_;
};

// The monitor over a simulated desktop whose accessibility bus the test sets.
struct Rig {
    Rig() {
        QObject::connect(&monitor, &BrowserMonitor::unseenBrowsersChanged, [this] { ++changes; });
    }
    // Lets the reading in flight come back.
    void settle() {
        ASSERT_TRUE(test::waitUntil([&] { return !monitor.isReadingUnseenBrowsers(); }));
    }
    void advance(std::chrono::milliseconds step) {
        d.clock.advance(step);
        settle();
    }

    test::SimulatedDesktop d;
    SimulatedBusBrowsers bus;
    LateWindows workspace{d.workspace};
    BrowserMonitor monitor{
        {workspace, d.scriptHost, d.consent, d.tree, d.keystrokes, nullptr, &bus}, d.clock, d.clock};
    int changes = 0;
};

// Stand-ins in a table for the processes of the desktop's browser windows.
constexpr int kChromiumWindow = -1;
constexpr int kFirefoxWindow = -2;

TEST(UnseenBrowsers, NamesTheBrowsersOnTheBusThatStayWithoutAWindowKivoSees) {
    struct Case {
        const char* name;
        Bus bus;
        bool windowsLate; // the desktop's windows appear only after the first reading
        Names named;
    } cases[] = {
        {"seen on X",
         {{kChrome, "Chromium", {kChromiumWindow}}, {kFirefox, "Firefox", {kFirefoxWindow}}},
         false,
         {}},
        {"seen on X by its number in a PID namespace",
         {{kFirefox, "Firefox", {70001, kFirefoxWindow}}},
         false,
         {}},
        {"not on the bus", {}, false, {}},
        {"on the bus without a window", {{kFirefox, "Firefox", {70001}}}, false, {"Firefox"}},
        {"several without windows: each name once, in table order",
         {{kFirefox, "Firefox", {70001}}, {kFirefox, "Firefox", {70002}}, {kChrome, "Chromium", {70003}}},
         false,
         {"Chromium", "Firefox"}},
        {"the row's name when the bus gives none", {{kBrave, "", {70004}}}, false, {"Brave"}},
        {"without a window only until its first one appears",
         {{kChrome, "Chromium", {kChromiumWindow}}, {kFirefox, "Firefox", {kFirefoxWindow}}},
         true,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        const int chromium = rig.d.world.addBrowser(kChrome, {"https://a.test/"});
        const int firefox = rig.d.world.addBrowser(kFirefox, {"https://b.test/"});
        if (c.windowsLate) {
            rig.workspace.unmapped = {chromium, firefox};
        }
        Bus bus = c.bus;
        for (auto& browser : bus) {
            std::replace(browser.processIds.begin(), browser.processIds.end(), kChromiumWindow, chromium);
            std::replace(browser.processIds.begin(), browser.processIds.end(), kFirefoxWindow, firefox);
        }
        rig.bus.setBrowsers(bus);

        auto watch = rig.monitor.watchUnseenBrowsers();
        rig.settle();
        EXPECT_EQ(rig.monitor.unseenBrowserNames(), Names{}) << "one reading names nothing";
        rig.workspace.unmapped.clear();
        rig.advance(UnseenBrowsers::kReadInterval);
        EXPECT_EQ(rig.bus.reads(), 2);
        EXPECT_EQ(rig.monitor.unseenBrowserNames(), c.named);
        EXPECT_EQ(rig.changes, c.named.empty() ? 0 : 1) << "the notice never flashes";
    }
}

TEST(UnseenBrowsers, TheBusIsReadOnlyWhileWatchedAndAtMostEveryFewSeconds) {
    Rig rig;
    auto& monitor = rig.monitor;
    auto& bus = rig.bus;
    bus.setBrowsers({{kFirefox, "Firefox", {70001}}});
    // A browser in front polls once a second; its passes never read the bus.
    rig.d.world.addBrowser(kChrome, {"https://a.test/"});
    rig.d.world.activate(kChrome);
    monitor.start([] { return std::vector<BlockRuleGroup>{}; }, nullptr);
    ASSERT_TRUE(monitor.isPolling());
    rig.advance(10s);
    EXPECT_EQ(bus.reads(), 0);

    auto watch = monitor.watchUnseenBrowsers();
    rig.settle();
    rig.advance(UnseenBrowsers::kReadInterval);
    EXPECT_EQ(bus.reads(), 2);
    EXPECT_EQ(monitor.unseenBrowserNames(), Names{"Firefox"});
    for (int second = 0; second < 9; ++second) {
        rig.advance(1s);
    }
    EXPECT_EQ(bus.reads(), 5);

    // Leaving the screens and coming back at once reads no sooner.
    watch.reset();
    watch = monitor.watchUnseenBrowsers();
    rig.settle();
    EXPECT_EQ(bus.reads(), 5);
    watch.reset();
    rig.advance(60s);
    EXPECT_EQ(bus.reads(), 5);
    EXPECT_EQ(monitor.unseenBrowserNames(), Names{"Firefox"}) << "kept while nobody looks";

    // Back later: the first reading drops a browser that has gone.
    bus.setBrowsers({});
    watch = monitor.watchUnseenBrowsers();
    rig.settle();
    EXPECT_EQ(bus.reads(), 6);
    EXPECT_EQ(monitor.unseenBrowserNames(), Names{});

    // A bus that cannot be read claims nothing.
    bus.setBrowsers({{kFirefox, "Firefox", {70001}}});
    rig.advance(UnseenBrowsers::kReadInterval);
    rig.advance(UnseenBrowsers::kReadInterval);
    ASSERT_EQ(monitor.unseenBrowserNames(), Names{"Firefox"});
    bus.setUnreadable(true);
    rig.advance(UnseenBrowsers::kReadInterval);
    EXPECT_EQ(monitor.unseenBrowserNames(), Names{});
}

TEST(UnseenBrowsers, ABrowserThatStartsShowingAWindowIsNoLongerNamedWithoutWaitingForTheBus) {
    Rig rig;
    const int firefox = rig.d.world.addBrowser(kFirefox, {"https://b.test/"});
    rig.workspace.unmapped = {firefox};
    rig.bus.setBrowsers({{kFirefox, "Firefox", {firefox}}});
    auto watch = rig.monitor.watchUnseenBrowsers();
    rig.settle();
    rig.advance(UnseenBrowsers::kReadInterval);
    ASSERT_EQ(rig.monitor.unseenBrowserNames(), Names{"Firefox"});

    rig.workspace.unmapped.clear();
    rig.d.world.launchBrowser(kBrave, {"https://c.test/"}); // the desktop tells of a browser's first window
    EXPECT_EQ(rig.monitor.unseenBrowserNames(), Names{});
    EXPECT_EQ(rig.bus.reads(), 2);
}

} // namespace
} // namespace kivo
