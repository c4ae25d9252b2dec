// Every visit of a blocked page is redirected at once, and every redirect once: a redirect page that
// answers slowly is asked for once, and the blocked page visited again right after its redirect (Back, also
// to the page as the browser kept it, or a new window) is redirected again without being held back.
#include "RealDesktop.h"

#include <iostream>

namespace kivo {
namespace {

using test::desktop;

int requestsFor(const std::function<bool(const std::string&)>& isIt) {
    const auto& requests = desktop->server.requests();
    return static_cast<int>(std::count_if(requests.begin(), requests.end(), isIt));
}

TEST(RedirectTimingTest, ASlowRedirectPageIsAskedForOnceInChromium) {
    ASSERT_TRUE(desktop && desktop->pid(test::kChrome));
    test::MonitorRun monitor;
    test::LogCapture log;
    const std::string blocked = desktop->server.url("/slowerblock/page");
    const xcb_window_t window = desktop->openFrontWindow(test::kChrome, blocked);
    ASSERT_TRUE(
        test::waitUntil([&] { return desktop->landedFrom(test::kChrome, blocked); }, test::kDeadline));
    // Two more passes see the redirect page, and type nothing.
    ASSERT_TRUE(monitor.morePasses(2));
    EXPECT_EQ(requestsFor([](const std::string& r) { return r.rfind("/slower/landing", 0) == 0; }), 1);
    // Told apart from a page that never came: the old page stays while the typed address is loaded.
    EXPECT_TRUE(log.contains("failed (the new page is still loading)"));
    EXPECT_FALSE(log.contains("did not show the new page"));
    desktop->closeWindow(window);
}

// The blocked page is served as most sites serve theirs (the browser may keep it and show it again on Back
// from memory), or with "no-store".
struct AgainCase {
    test::BrowserCase browser;
    bool cacheable;
    friend void PrintTo(const AgainCase& c, std::ostream* os) {
        *os << c.browser.name << (c.cacheable ? " cacheable" : "");
    }
};

// Requests for a redirect page whose `blocked=` names `blocked`.
int landingsFrom(const std::string& blocked) {
    return requestsFor([&](const std::string& r) {
        const QUrl url(QString::fromStdString(r));
        return url.path() == "/landing" &&
               AddressText::sameAddress(
                   QUrlQuery(url).queryItemValue("blocked", QUrl::FullyDecoded).toStdString(), blocked);
    });
}

class RedirectAgainTest : public ::testing::TestWithParam<AgainCase> {
protected:
    void SetUp() override { ASSERT_TRUE(desktop && desktop->pid(id())) << "browser not running"; }
    std::string id() const { return GetParam().browser.bundleId; }
    std::string name() const { return GetParam().browser.name; }
};

TEST_P(RedirectAgainTest, ABlockedPageVisitedAgainRightAfterItsRedirectIsRedirectedAtOnce) {
    test::MonitorRun monitor;
    test::LogCapture log;
    const std::string blocked = desktop->server.url(
        std::string(GetParam().cacheable ? "/blocked/cacheable" : "/blocked") + "/again-" + name());
    const auto inNewWindow = [&] { desktop->launchWindow(id(), blocked); };
    const auto back = [] { test::Desktop::type({"key", "alt+Left"}); };
    ASSERT_TRUE(test::passesToRedirect(monitor, log, id(), blocked, inNewWindow)) << "not redirected";
    const xcb_window_t first = desktop->x->activeWindow();
    const struct {
        const char* name;
        std::function<void()> visit;
    } visits[] = {
        {"back", back},
        {"new window", inNewWindow},
    };
    for (const auto& visit : visits) {
        SCOPED_TRACE(visit.name);
        const auto passes = test::passesToRedirect(monitor, log, id(), blocked, visit.visit);
        ASSERT_TRUE(passes) << "not redirected";
        std::cout << name() << ", " << visit.name << ": " << *passes << " passes to the redirect\n";
        EXPECT_LE(*passes, test::kPassesToRedirect);
    }
    const xcb_window_t second = desktop->x->activeWindow();
    EXPECT_FALSE(desktop->shows(id(), blocked));
    EXPECT_TRUE(desktop->landedFrom(id(), blocked));
    // Each visit typed once, and nothing held back.
    const auto redirects = test::redirectsOf(log, id(), blocked);
    EXPECT_EQ(redirects.done, 3);
    EXPECT_EQ(redirects.heldOrFailed, 0);
    EXPECT_EQ(landingsFrom(blocked), 3);
    if (GetParam().cacheable) {
        // Back showed the page the browser had kept, without asking for it again.
        EXPECT_EQ(requestsFor([&](const std::string& r) { return desktop->server.url(r) == blocked; }), 2);
    }
    desktop->closeWindow(second);
    desktop->closeWindow(first);
}

INSTANTIATE_TEST_SUITE_P(Browsers, RedirectAgainTest,
                         ::testing::Values(AgainCase{{"chromium", test::kChrome}, false},
                                           AgainCase{{"firefox", test::kFirefox}, false},
                                           AgainCase{{"chromium", test::kChrome}, true},
                                           AgainCase{{"firefox", test::kFirefox}, true}),
                         [](const auto& info) {
                             return std::string(info.param.browser.name) +
                                    (info.param.cacheable ? "_cacheable" : "");
                         });

} // namespace
} // namespace kivo
