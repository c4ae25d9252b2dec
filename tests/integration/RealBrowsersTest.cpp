// The browser monitor with the Linux back ends against real Chromium and Firefox ESR, on the private
// desktop that scripts/with-desktop starts (X display, window manager, session and accessibility buses).
#include "RealDesktop.h"

#include "app/rules/BlockRuleStore.h"
#include "browser-monitor/AccessibilityBrowserBridge.h"
#include "browser-monitor/AddressText.h"
#include "browser-monitor/BrowserMonitor.h"
#include "core/QtTimerFactory.h"
#include "core/SystemClock.h"
#include "platform/linux/LinuxAccessibilityTree.h"
#include "platform/linux/LinuxBrowserPlatform.h"
#include "platform/linux/LinuxKeystrokeSink.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/XcbDesktop.h"
#include "settings/FileDefaultsStore.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <unistd.h>

using namespace std::chrono_literals;

namespace kivo {
namespace {

using test::BrowserCase;
using test::Desktop;
using test::desktop;
using test::kChrome;
using test::kDeadline;
using test::kFirefox;
using test::kIdnHost;
using test::MonitorRun;

// Takes the keyboard focus away to the notes window after the address field is selected, just before
// the URL would be typed.
class FocusThief final : public KeystrokeSink {
public:
    FocusThief(KeystrokeSink& real, xcb_window_t notes)
        : real_(real), notes_(notes), desktop_(XcbDesktop::connect()) {}
    bool hasKeyboardFocus(WindowHandle window) override { return real_.hasKeyboardFocus(window); }
    std::optional<std::string> keyboardText(const std::string& url) override {
        return real_.keyboardText(url);
    }
    KeystrokeResult focusAddressField(WindowHandle window) override {
        return real_.focusAddressField(window);
    }
    KeystrokeResult selectAll(WindowHandle window) override {
        const auto sent = real_.selectAll(window);
        desktop_->requestActivation(notes_);
        for (int i = 0; i < 200 && desktop_->activeWindow() != notes_; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        stolen = desktop_->activeWindow() == notes_;
        return sent;
    }
    KeystrokeResult typeText(WindowHandle window, const std::string& text) override {
        return real_.typeText(window, text);
    }
    KeystrokeResult pressReturn(WindowHandle window) override { return real_.pressReturn(window); }
    KeystrokeResult pressDelete(WindowHandle window) override { return real_.pressDelete(window); }
    KeystrokeResult pressEscape(WindowHandle window) override { return real_.pressEscape(window); }
    std::atomic<bool> stolen{false};

private:
    KeystrokeSink& real_;
    xcb_window_t notes_;
    std::unique_ptr<XcbDesktop> desktop_;
};

class RealBrowsers : public ::testing::Environment {
public:
    void SetUp() override {
        desktop = new Desktop();
        desktop->startBrowser(kChrome, desktop->server.url("/start/chromium"));
        desktop->startBrowser(kFirefox, desktop->server.url("/start/firefox"));
    }
    void TearDown() override {
        // The browsers go; the ports stay until the process ends, since a worker whose monitor has gone may
        // still be finishing a call into them.
        desktop->stopAll();
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new RealBrowsers);

class RealBrowserTest : public ::testing::TestWithParam<BrowserCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(desktop && desktop->pid(GetParam().bundleId)) << "browser not running";
    }
    std::string id() const { return GetParam().bundleId; }
    std::string page(const std::string& path) const {
        return desktop->server.url(path + "-" + GetParam().name);
    }
};

TEST_P(RealBrowserTest, ABlockedPageEndsOnTheRedirectPageAndOtherPagesAreLeftAlone) {
    MonitorRun monitor;
    test::LogCapture log;
    const std::string allowed = page("/blocked/allowed");
    const std::string free = page("/free");
    const std::string blocked = page("/blocked/page");
    desktop->openWindow(id(), allowed);
    desktop->openWindow(id(), free);
    // It comes to the front with the page.
    const auto passes =
        test::passesToRedirect(monitor, log, id(), blocked, [&] { desktop->launchWindow(id(), blocked); });
    ASSERT_TRUE(passes) << "not redirected";
    EXPECT_LE(*passes, test::kPassesToRedirect);
    EXPECT_EQ(test::redirectsOf(log, id(), blocked).heldOrFailed, 0);
    EXPECT_TRUE(desktop->landedFrom(id(), blocked));
    EXPECT_FALSE(desktop->shows(id(), blocked));
    EXPECT_TRUE(desktop->shows(id(), allowed));
    EXPECT_TRUE(desktop->shows(id(), free));
}

TEST_P(RealBrowserTest, ABlockedPageInABackgroundWindowIsRedirectedAndTheOtherWindowIsUntouched) {
    MonitorRun monitor;
    const std::string late = page("/late/page");
    const std::string front = page("/free/front");
    desktop->openWindow(id(), late);
    desktop->openWindow(id(), front); // the page to be blocked is now in the background window
    // Blocked only now, while the other window has the focus.
    auto groups = desktop->store->groups();
    groups.front().rules.push_back(Desktop::rule(desktop->hostPath("/late/*")));
    desktop->store->setGroups(groups);
    EXPECT_TRUE(test::waitUntil([&] { return !desktop->shows(id(), late); }, kDeadline));
    EXPECT_TRUE(desktop->shows(id(), front));
    groups.front().rules.pop_back();
    desktop->store->setGroups(groups);
}

TEST_P(RealBrowserTest, AWindowThatTakesTheFocusMidRedirectGetsNoKeystrokeAndNothingHalfTypedIsLoaded) {
    auto& thief = *static_cast<FocusThief*>(
        desktop->sinks
            .emplace_back(std::make_unique<FocusThief>(desktop->platform->keystrokes(), desktop->notes->id()))
            .get());
    const int keysBefore = desktop->notes->keyEvents();
    const std::string blocked = page("/blocked/stolen");
    desktop->openWindow(id(), blocked);
    {
        MonitorRun monitor(&thief);
        ASSERT_TRUE(test::waitUntil([&] { return thief.stolen.load(); }, kDeadline));
        // Every key of that attempt has gone out once its pass has ended.
        ASSERT_TRUE(monitor.morePasses(1));
    }
    EXPECT_EQ(desktop->notes->keyEvents(), keysBefore);
    EXPECT_TRUE(desktop->shows(id(), blocked));
    EXPECT_FALSE(desktop->landedFrom(id(), blocked));
}

TEST_P(RealBrowserTest, NonAsciiVisitedAddressAndAnInternationalisedTargetHost) {
    MonitorRun monitor;
    const std::string visited = desktop->server.url("/idn/caf\xC3\xA9-\xE4\xB8\xAD-") + GetParam().name;
    desktop->openWindow(id(), visited);
    std::optional<std::string> landing;
    ASSERT_TRUE(test::waitUntil(
        [&] {
            for (const auto& p : desktop->shown(id())) {
                if (p.find("/landing?blocked=") != std::string::npos &&
                    p.find(GetParam().name) != std::string::npos &&
                    (p.find(kIdnHost) != std::string::npos || p.find("b\xC3\xBC"
                                                                     "cher") != std::string::npos)) {
                    landing = p;
                }
            }
            return landing.has_value();
        },
        kDeadline));
    const QUrl url(QString::fromStdString(*landing));
    EXPECT_EQ(QUrl::toAce(url.host()).toStdString(), kIdnHost);
    EXPECT_TRUE(AddressText::sameAddress(
        QUrlQuery(url).queryItemValue("blocked", QUrl::FullyDecoded).toStdString(), visited));
}

TEST_P(RealBrowserTest, ABrowserKilledDuringAReadEndsThePassAtItsDeadlineAndTheNextPassWorks) {
    MonitorRun monitor;
    desktop->bringForward(id());
    ASSERT_TRUE(test::waitUntil([&] { return monitor.passes >= 1; }, kDeadline));
    const auto pid = desktop->pid(id());
    ASSERT_TRUE(pid);
    ::kill(*pid, SIGSTOP); // it stops answering in the middle of whatever it was asked
    QElapsedTimer stopped;
    stopped.start();
    monitor->pollOnce();
    // The passes go on while it answers nothing: none waits for it past the read's deadline.
    ASSERT_TRUE(monitor.morePasses(2));
    std::cout << GetParam().name << ": two passes with the browser stopped took " << stopped.elapsed()
              << " ms\n";
    ::kill(*pid, SIGKILL);
    ::kill(*pid, SIGCONT);
    ASSERT_TRUE(test::waitUntil([&] { return !desktop->pid(id()); }, kDeadline));
    desktop->stopBrowser(id());

    // The next pass works: a fresh instance's blocked page is redirected.
    const std::string blocked = page("/blocked/after-kill");
    desktop->startBrowser(id(), blocked);
    ASSERT_TRUE(test::waitUntil([&] { return desktop->landedFrom(id(), blocked); }, kDeadline));
}

INSTANTIATE_TEST_SUITE_P(Browsers, RealBrowserTest,
                         ::testing::Values(BrowserCase{"chromium", kChrome},
                                           BrowserCase{"firefox", kFirefox}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RealDesktopTest, TheFrontWindowIsFollowedAlsoWhileTheLoopRestsAndWithoutABrowserNothingIsAsked) {
    ASSERT_TRUE(desktop && desktop->pid(kChrome) && desktop->pid(kFirefox));
    MonitorRun monitor;
    struct Step {
        std::string front; // empty: the notes window
        bool browser;
    } steps[] = {{kChrome, true},  {kFirefox, true}, {"", false},
                 {kFirefox, true}, {kChrome, true},  {"", false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.front.empty() ? "notes" : step.front);
        const xcb_window_t window =
            step.front.empty() ? desktop->notes->id() : desktop->x->topWindowOf(*desktop->pid(step.front));
        ASSERT_TRUE(desktop->activate(window));
        ASSERT_TRUE(test::waitUntil(
            [&] {
                return monitor->isBrowserForeground() == step.browser &&
                       desktop->platform->workspace().frontmostBundleId() ==
                           (step.front.empty() ? "Notes" : step.front);
            },
            kDeadline));
        // Past the grace period the loop stops: only the desktop's own events can tell of the next front
        // window.
        if (!step.browser) {
            ASSERT_TRUE(test::waitUntil([&] { return !monitor->isPolling(); }, kDeadline));
        }
    }
    // With the loop stopped, neither the accessibility bus nor the X server hears from the monitor.
    const long calls = desktop->platform->tree().busCalls();
    const long trips = desktop->platform->workspace().roundTrips();
    test::waitUntil([] { return false; }, 1500ms);
    EXPECT_EQ(desktop->platform->tree().busCalls(), calls);
    EXPECT_EQ(desktop->platform->workspace().roundTrips(), trips);
}

} // namespace
} // namespace kivo
