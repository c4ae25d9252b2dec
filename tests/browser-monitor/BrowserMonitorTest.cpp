#include "browser-monitor/BrowserMonitor.h"
#include "SimulatedDesktop.h"
#include "domain/RedirectResolver.h"
#include "settings/MemoryDefaultsStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace kivo {
namespace {

const std::string kSafari = "com.apple.Safari";
const std::string kChrome = "com.google.Chrome";
const std::string kBrave = "com.brave.Browser";
const std::string kFirefox = "org.mozilla.firefox";
const std::string kDuck = "com.duckduckgo.macos.browser";
const std::string kEditor = "org.example.Editor";

using Windows = std::vector<std::optional<std::string>>;

BlockRule rule(const std::string& pattern, RuleAction action = RuleAction::block,
               std::optional<std::string> redirect = std::nullopt,
               std::optional<bool> appends = std::nullopt) {
    BlockRule r;
    r.id = Uuid::random();
    r.pattern = pattern;
    r.isEnabled = true;
    r.action = action;
    if (redirect) {
        r.redirectURL = Url::parse(*redirect);
    }
    r.appendsQueryParameters = appends;
    return r;
}

BlockRuleGroup group(std::vector<BlockRule> rules, BlockSchedule schedule = BlockSchedule::always(),
                     std::optional<std::string> redirect = std::nullopt,
                     std::optional<bool> appends = std::nullopt) {
    BlockRuleGroup g;
    g.id = Uuid::random();
    g.name = "Group";
    g.isEnabled = true;
    g.rules = std::move(rules);
    g.schedule = std::move(schedule);
    if (redirect) {
        g.redirectURL = Url::parse(*redirect);
    }
    g.appendsQueryParameters = appends;
    return g;
}

BlockSchedule mondays(std::int64_t start, std::int64_t end) {
    RecurringSchedule s;
    s.daysOfWeek = {DayOfWeek::monday};
    s.timeWindows = {TimeWindow{start, end}};
    return BlockSchedule::recurring(s);
}

std::string shielded(const std::string& url) {
    return ResolvedRedirect(RedirectResolver::defaultShieldURL(), true).finalURLString(url);
}

class BrowserMonitorTest : public ::testing::Test {
protected:
    BrowserMonitorTest() {
        d.clock.setLocal(2026, 1, 5, 9, 0); // a Monday
        QObject::connect(&monitor, &BrowserMonitor::passFinished, [this] { ++passes; });
    }
    ~BrowserMonitorTest() override { d.world.setHanging(kChrome, false); }

    void start() {
        monitor.start(
            [this] {
                ++providerCalls;
                return groups;
            },
            &flow);
    }
    // Delivers worker results until `count` passes have finished in all.
    void waitForPasses(int count) {
        ASSERT_TRUE(test::waitUntil([&] { return passes >= count; })) << passes;
    }
    // Moves time on and lets any pass it starts run to its end, as a real second would.
    void tick(std::chrono::milliseconds step) {
        d.clock.advance(step);
        ASSERT_TRUE(test::waitUntil([&] { return !monitor.isPassRunning(); }));
        test::processEvents();
    }
    void onePass() {
        const int before = passes;
        monitor.pollOnce();
        waitForPasses(before + 1);
    }

    test::SimulatedDesktop d;
    MemoryDefaultsStore defaults;
    AccessibilityPermissionFlow flow{d.tree, d.settings, defaults};
    BrowserMonitor monitor{{d.workspace, d.scriptHost, d.consent, d.tree, d.keystrokes},
                           d.clock,
                           d.clock,
                           nullptr,
                           d.recordPause()};
    std::vector<BlockRuleGroup> groups;
    int providerCalls = 0;
    int passes = 0;
};

// --- The road of a visited page ------------------------------------------------------------------------

TEST_F(BrowserMonitorTest, ABlockedPageIsSentToItsTargetThroughEachBrowsersRoute) {
    groups = {group({rule("*video.test*"), rule("*news.test*", RuleAction::block, "https://rule.test/r"),
                     rule("*mail.test*")},
                    BlockSchedule::always(), "https://group.test/g"),
              group({rule("video.test/allowed*", RuleAction::allow), rule("*games.test*")})};
    const std::string onShield = shielded("https://video.test/earlier");
    d.world.addBrowser(kChrome, {"https://video.test/watch?v=1", "https://video.test/allowed/x", onShield,
                                 "https://news.test/today", "https://elsewhere.test/"});
    d.world.addBrowser(kSafari, {"https://games.test/play"});
    d.world.addBrowser(kFirefox, {"https://mail.test/inbox"});
    d.world.activate(kFirefox);
    start();
    waitForPasses(1);

    EXPECT_EQ(d.world.windowURLs(kChrome),
              (Windows{"https://group.test/g",         // the rule has no target: the group's, not appended
                       "https://video.test/allowed/x", // an allow rule of another group wins
                       onShield,                       // already on a target
                       "https://rule.test/r", "https://elsewhere.test/"}));
    EXPECT_EQ(d.world.windowURLs(kSafari),
              (Windows{shielded("https://games.test/play")})); // in the background
    EXPECT_EQ(d.world.windowURLs(kFirefox), (Windows{"https://group.test/g"}));
    EXPECT_EQ(d.world.redirectEvents().size(), 3u);
    EXPECT_EQ(monitor.permissionStates().at(kChrome), BrowserPermissionState::granted);
}

TEST_F(BrowserMonitorTest, TheAppendChoiceFallsBackFromRuleToGroupToDefault) {
    struct Case {
        std::optional<std::string> ruleTarget;
        std::optional<bool> ruleAppends;
        std::optional<std::string> groupTarget;
        std::optional<bool> groupAppends;
        std::string expected;
    } cases[] = {
        {std::nullopt, std::nullopt, std::nullopt, std::nullopt, shielded("https://v.test/a")},
        {std::nullopt, std::nullopt, std::nullopt, false, RedirectResolver::defaultShieldURL().text()},
        {"https://r.test/", std::nullopt, std::nullopt, std::nullopt, "https://r.test/"},
        {"https://r.test/", std::nullopt, std::nullopt, true,
         ResolvedRedirect(*Url::parse("https://r.test/"), true).finalURLString("https://v.test/a")},
        {std::nullopt, false, "https://g.test/?x=1", true, "https://g.test/?x=1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        test::SimulatedDesktop desk;
        BrowserMonitor m{{desk.workspace, desk.scriptHost, desk.consent, desk.tree, desk.keystrokes},
                         desk.clock,
                         desk.clock};
        int done = 0;
        QObject::connect(&m, &BrowserMonitor::passFinished, [&] { ++done; });
        std::vector<BlockRuleGroup> gs = {
            group({rule("v.test/a", RuleAction::block, c.ruleTarget, c.ruleAppends)}, BlockSchedule::always(),
                  c.groupTarget, c.groupAppends)};
        desk.world.addBrowser(kChrome, {"https://v.test/a"});
        m.start([gs] { return gs; }, nullptr);
        m.pollOnce();
        ASSERT_TRUE(test::waitUntil([&] { return done == 1; }));
        EXPECT_EQ(desk.world.windowURLs(kChrome), (Windows{c.expected}));
    }
}

TEST_F(BrowserMonitorTest, DuplicatesAreHarmlessAndHostileURLsArriveOnlyAsData) {
    groups = {group({rule("*bad.test*")})};
    const std::string hostile = "https://bad.test/\"end tell\\\\\" & do shell script \"rm -rf ~\" --";
    d.world.addBrowser(kChrome, {hostile, hostile});
    const std::string typed = "https://bad.test/a\"\nend tell\ndo shell script \"x\"\\";
    d.world.addBrowser(kFirefox, {typed, typed});
    d.world.activate(kChrome);
    start();
    waitForPasses(1);
    EXPECT_EQ(d.world.windowURLs(kChrome), (Windows{shielded(hostile), shielded(hostile)}));
    // Both windows are listed: the first event changes both, the second finds nothing to change.
    ASSERT_EQ(d.world.redirectEvents().size(), 2u);
    EXPECT_EQ(d.world.redirectEvents()[0].oldUrl, hostile);
    // The accessibility route lists a URL once and types the target as one text.
    const auto keys = d.world.keystrokes();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[2].text, shielded(typed));
    EXPECT_EQ(d.world.callCounts().compiles, 2); // sources are never rebuilt around a URL
}

TEST_F(BrowserMonitorTest, AnUntrustedAccessibilityBrowserIsSkippedSilently) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kFirefox, {"https://video.test/"});
    d.world.addBrowser(kSafari, {"https://video.test/"});
    d.world.setTrusted(false);
    start();
    test::LogCapture log;
    onePass();
    EXPECT_EQ(d.world.windowURLs(kFirefox), (Windows{"https://video.test/"}));
    EXPECT_TRUE(d.world.keystrokes().empty());
    EXPECT_EQ(d.world.windowURLs(kSafari), (Windows{shielded("https://video.test/")}));
    EXPECT_FALSE(flow.promptingBrowser()); // prompts come from the front, not from passes
    EXPECT_FALSE(log.contains("critical"));
}

TEST_F(BrowserMonitorTest, TwoTypedRedirectsInOnePassGoOutOneAfterTheOther) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kFirefox, {"https://video.test/a"});
    d.world.addBrowser(kDuck, {"https://video.test/b"});
    d.world.addApplication(kEditor, "notes");
    d.world.activate(kFirefox);
    start();
    waitForPasses(1);
    const auto keys = d.world.keystrokes();
    ASSERT_EQ(keys.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(keys[i].target, keys[i < 4 ? 0 : 4].target) << i;
    }
    EXPECT_NE(keys[0].target, keys[4].target);
    EXPECT_EQ(d.world.windowURLs(kFirefox), (Windows{shielded("https://video.test/a")}));
    EXPECT_EQ(d.world.windowURLs(kDuck), (Windows{shielded("https://video.test/b")}));
    EXPECT_EQ(d.world.text(kEditor), "notes");
}

TEST(BrowserMonitorLogTest, AtTheDefaultLogLevelNoVisitedAddressIsPrinted) {
    if (qEnvironmentVariableIsSet("QT_LOGGING_RULES")) {
        GTEST_SKIP() << "the environment sets its own logging rules";
    }
    const std::vector<BlockRuleGroup> groups = {
        group({rule("*blocked.test*"), rule("*blocked.test/fine*", RuleAction::allow)})};
    // A redirect that goes out and one that fails, through both routes.
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused);
        test::SimulatedDesktop d;
        d.world.addBrowser(
            kFirefox, {"https://diary.test/entry", "https://blocked.test/fine", "https://blocked.test/page"});
        d.world.addBrowser(kChrome, {"https://diary.test/tab", "https://blocked.test/tab"});
        d.world.addApplication(kEditor, "notes");
        d.world.activate(kEditor);
        d.world.setActivationRefused(refused);
        BrowserMonitor monitor{{d.workspace, d.scriptHost, d.consent, d.tree, d.keystrokes},
                               d.clock,
                               d.clock,
                               nullptr,
                               d.recordPause()};
        int passes = 0;
        QObject::connect(&monitor, &BrowserMonitor::passFinished, [&] { ++passes; });
        test::LogCapture log(test::LogCapture::Levels::defaultLevels);
        monitor.start([&] { return groups; }, nullptr);
        monitor.pollOnce();
        ASSERT_TRUE(test::waitUntil([&] { return passes > 0; }));
        EXPECT_TRUE(log.contains(refused ? "|critical|AX redirect for org.mozilla.firefox failed"
                                         : "|info|AX redirect for org.mozilla.firefox"));
        for (const auto& line : log.lines()) {
            EXPECT_EQ(line.find(".test"), std::string::npos) << line;
        }
    }
}

TEST_F(BrowserMonitorTest, ABlockedPageInABackgroundWindowIsBroughtForwardAndTheOtherWindowIsLeftAlone) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kFirefox, {"https://docs.test/draft", "https://video.test/"});
    d.world.activate(kFirefox);
    start();
    waitForPasses(1);
    EXPECT_EQ(d.world.windowURLs(kFirefox),
              (Windows{shielded("https://video.test/"), "https://docs.test/draft"}));
}

// A desktop without scripting: every row goes through the accessibility tree, under its own name there.
class EverythingThroughTheTree final : public BrowserRoutes {
public:
    BrowserURLAccess access(const BrowserDescriptor&) override { return BrowserURLAccess::accessibility; }
    std::string displayName(const BrowserDescriptor& row) override {
        return row.bundleId == kChrome ? "Chromium" : row.displayName;
    }
};

TEST_F(BrowserMonitorTest, TheDesktopsRoutesDecideHowEachBrowserIsReachedAndNamed) {
    EverythingThroughTheTree routes;
    BrowserMonitor routed{{d.workspace, d.scriptHost, d.consent, d.tree, d.keystrokes, &routes},
                          d.clock,
                          d.clock,
                          nullptr,
                          d.recordPause()};
    int routedPasses = 0;
    QObject::connect(&routed, &BrowserMonitor::passFinished, [&] { ++routedPasses; });
    groups = {group({rule("*video.test*")})};
    d.world.setConsent(kChrome, SimulatedBrowserWorld::Consent::denied);
    d.world.setTrusted(false);
    d.world.addBrowser(kChrome, {"https://video.test/"});
    d.world.activate(kChrome);
    routed.start([this] { return groups; }, &flow);
    EXPECT_EQ(flow.promptingBrowser(), (PromptingBrowser{kChrome, "Chromium"}));
    EXPECT_EQ(d.world.callCounts().consentQueries, 0);
    EXPECT_TRUE(routed.deniedBrowserNames().empty());

    d.world.setTrusted(true);
    routed.pollOnce();
    ASSERT_TRUE(test::waitUntil([&] { return routedPasses >= 2; }));
    EXPECT_EQ(d.world.windowURLs(kChrome), (Windows{shielded("https://video.test/")}));
    EXPECT_EQ(d.world.callCounts().scriptRuns, 0);
    EXPECT_EQ(d.world.keystrokes().size(), 4u);
}

// --- Lifecycle ---------------------------------------------------------------------------------------------

TEST_F(BrowserMonitorTest, ASecondStartChangesNothing) {
    groups = {group({rule("*video.test*")})};
    start();
    MemoryDefaultsStore otherDefaults;
    AccessibilityPermissionFlow other{d.tree, d.settings, otherDefaults};
    int otherCalls = 0;
    monitor.start(
        [&] {
            ++otherCalls;
            return std::vector<BlockRuleGroup>{};
        },
        &other);
    d.world.setTrusted(false);
    d.world.addBrowser(kFirefox, {"https://video.test/"});
    d.world.activate(kFirefox);
    waitForPasses(1);
    EXPECT_EQ(otherCalls, 0);
    EXPECT_TRUE(flow.promptingBrowser());
    EXPECT_FALSE(other.promptingBrowser());
}

TEST_F(BrowserMonitorTest, ABrowserInFrontAtStartPollsAtOnceAndIsOfferedThePrompt) {
    groups = {group({rule("*video.test*")})};
    d.world.setTrusted(false);
    d.world.addBrowser(kDuck, {"https://video.test/"});
    d.world.activate(kDuck);
    start();
    EXPECT_TRUE(monitor.isBrowserForeground());
    EXPECT_TRUE(monitor.isPolling());
    EXPECT_EQ(flow.promptingBrowser(), (PromptingBrowser{kDuck, "DuckDuckGo"}));
    waitForPasses(1);
    d.clock.advance(999ms);
    test::processEvents();
    EXPECT_EQ(passes, 1);
    d.clock.advance(1ms); // one second after the end of the pass
    waitForPasses(2);
}

TEST_F(BrowserMonitorTest, TrustedAccessibilityBrowserInFrontIsSwitchedOn) {
    d.world.addBrowser(kFirefox, {});
    start();
    d.world.activate(kFirefox);
    ASSERT_TRUE(test::waitUntil([&] { return d.world.booleanAttributesSet().size() == 2; }));
    EXPECT_FALSE(flow.promptingBrowser());
}

TEST_F(BrowserMonitorTest, SwitchingBetweenBrowsersKeepsTheLoopAndLeavingStopsItAfterThreeSeconds) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kChrome, {"https://a.test/"});
    d.world.addBrowser(kSafari, {"https://a.test/"});
    d.world.addApplication(kEditor);
    int pollingChanges = 0;
    QObject::connect(&monitor, &BrowserMonitor::isPollingChanged, [&] { ++pollingChanges; });
    start();
    EXPECT_FALSE(monitor.isPolling());
    d.world.activate(kChrome);
    waitForPasses(1);
    d.world.activate(kSafari);
    EXPECT_TRUE(monitor.isPolling());
    EXPECT_EQ(passes, 1); // no extra pass from browser to browser

    // Leave and come back within 3 seconds: the same loop goes on, plus one pass at once.
    d.world.activate(kEditor);
    EXPECT_FALSE(monitor.isBrowserForeground());
    tick(500ms);
    d.world.activate(kChrome);
    waitForPasses(2);
    for (int i = 0; i < 3; ++i) {
        tick(1000ms);
    }
    EXPECT_TRUE(monitor.isPolling());
    EXPECT_EQ(pollingChanges, 1);

    // Leave for longer.
    d.world.activate(kEditor);
    const int before = passes;
    for (int i = 0; i < 5; ++i) {
        tick(1000ms);
    }
    EXPECT_FALSE(monitor.isPolling());
    EXPECT_EQ(passes, before + 2); // the grace period only: passes at +1 s and +2 s
    tick(10s);
    EXPECT_EQ(passes, before + 2);
    EXPECT_EQ(d.clock.activeTimerCount(), 0);
}

TEST_F(BrowserMonitorTest, PassesNeverOverlapAndARequestDuringAPassRunsRightAfterIt) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kChrome, {"https://a.test/"});
    d.world.addApplication(kEditor);
    start();
    d.world.setHanging(kChrome, true);
    d.world.activate(kChrome); // the loop's first pass hangs in Chrome
    EXPECT_TRUE(monitor.isPassRunning());
    d.world.activate(kEditor);
    d.world.activate(kChrome); // back at once: the extra pass waits for the running one
    monitor.pollOnce();
    ASSERT_TRUE(test::waitUntil([&] { return d.world.callsInFlight() == 1; }));
    EXPECT_EQ(passes, 0);
    EXPECT_EQ(d.world.callCounts().scriptRuns, 1);
    d.clock.advance(5000ms); // the read times out: the pass ends, the requested one runs
    EXPECT_EQ(passes, 2);    // Chrome is still stuck, so the requested pass skips it at once
    EXPECT_EQ(d.world.callCounts().scriptRuns, 1);
    EXPECT_FALSE(monitor.isPassRunning());
    d.world.setHanging(kChrome, false);
    ASSERT_TRUE(test::waitUntil([&] { return d.world.callsInFlight() == 0; }));
    test::processEvents();
    d.clock.advance(1000ms);
    waitForPasses(3);
    EXPECT_EQ(d.world.callCounts().scriptRuns, 2);
}

TEST_F(BrowserMonitorTest, NoLoopStartsAfterTheBrowserHasLeft) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kChrome, {"https://a.test/"});
    d.world.addApplication(kEditor);
    start();
    d.world.setHanging(kChrome, true);
    d.world.activate(kChrome);
    d.world.activate(kEditor); // leaves while the first pass is still reading
    d.clock.advance(3000ms);   // the delayed stop fires mid-pass
    EXPECT_FALSE(monitor.isPolling());
    d.clock.advance(2000ms); // the pass ends
    EXPECT_EQ(passes, 1);
    d.world.setHanging(kChrome, false);
    d.clock.advance(10s);
    test::processEvents();
    EXPECT_EQ(passes, 1);
    EXPECT_FALSE(monitor.isPolling());
}

TEST_F(BrowserMonitorTest, StopEndsEverythingAndIgnoresLaterActivations) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kChrome, {"https://a.test/"});
    start();
    d.world.activate(kChrome);
    waitForPasses(1);
    monitor.stop();
    EXPECT_FALSE(monitor.isRunning());
    EXPECT_FALSE(monitor.isPolling());
    EXPECT_FALSE(monitor.isBrowserForeground());
    d.world.activate(kSafari);
    d.world.activate(kChrome);
    d.clock.advance(5s);
    test::processEvents();
    EXPECT_EQ(passes, 1);
}

// --- Permissions ----------------------------------------------------------------------------------------

TEST_F(BrowserMonitorTest, PermissionsAreProbedAtStartAndAtLaunchWithoutForgettingWhatWasLearnt) {
    using C = SimulatedBrowserWorld::Consent;
    using S = BrowserPermissionState;
    d.world.addBrowser(kChrome, {});
    d.world.addBrowser(kFirefox, {});
    d.world.setConsent(kChrome, C::denied);
    d.world.setConsent(kSafari, C::granted);
    start();
    EXPECT_EQ(monitor.permissionStates().size(), 9u); // every scriptable browser, accessibility ones never
    EXPECT_EQ(monitor.permissionStates().at(kChrome), S::denied);
    EXPECT_EQ(monitor.permissionStates().at(kSafari), S::unknown); // not running
    EXPECT_EQ(monitor.deniedBrowserNames(), std::vector<std::string>{"Chrome"});
    EXPECT_FALSE(monitor.permissionStates().count(kFirefox));

    const int consentQueries = d.world.callCounts().consentQueries;
    d.world.launchBrowser(kSafari, {});
    EXPECT_EQ(d.world.callCounts().consentQueries, consentQueries + 1); // only the launched browser
    EXPECT_EQ(monitor.permissionStates().at(kSafari), S::granted);
    d.world.launchBrowser(kFirefox, {});
    EXPECT_EQ(d.world.callCounts().consentQueries, consentQueries + 1);

    // The browser quits: an unknown probe keeps what was learnt.
    d.world.quit(kSafari);
    d.world.launchBrowser(kSafari, {});
    d.world.setConsent(kSafari, C::notAsked);
    d.world.launchBrowser(kSafari, {});
    EXPECT_EQ(monitor.permissionStates().at(kSafari), S::granted);

    d.world.setConsent(kBrave, C::denied);
    d.world.launchBrowser(kBrave, {});
    EXPECT_EQ(monitor.deniedBrowserNames(), (std::vector<std::string>{"Chrome", "Brave"}));
}

TEST_F(BrowserMonitorTest, ARefusedBrowserIsTriedEveryPassAndGrantedOnItsFirstSuccess) {
    using C = SimulatedBrowserWorld::Consent;
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kChrome, {"https://video.test/"});
    d.world.setConsent(kChrome, C::denied);
    start();
    test::LogCapture log;
    onePass();
    onePass();
    EXPECT_EQ(log.count("AppleScript getTabURLs failed for com.google.Chrome: code=-1743"), 2);
    EXPECT_EQ(monitor.deniedBrowserNames(), std::vector<std::string>{"Chrome"});
    d.world.setConsent(kChrome, C::granted);
    onePass();
    EXPECT_TRUE(monitor.deniedBrowserNames().empty());
    EXPECT_EQ(d.world.windowURLs(kChrome), (Windows{shielded("https://video.test/")}));
}

// --- The active-rule cache ------------------------------------------------------------------------------

TEST_F(BrowserMonitorTest, WithoutActiveRulesAPassMakesNoPlatformCall) {
    groups = {group({rule("*video.test*")}, mondays(600, 660)), group({rule("*")}).withIsEnabled(false)};
    d.world.addBrowser(kChrome, {"https://video.test/"});
    d.world.addBrowser(kFirefox, {"https://video.test/"});
    start();
    d.world.activate(kChrome);
    waitForPasses(1);
    d.world.resetCallCounts();
    for (int i = 0; i < 5; ++i) {
        d.clock.advance(1000ms);
        waitForPasses(2 + i);
    }
    EXPECT_EQ(d.world.callCounts().total(), 0);
    EXPECT_EQ(providerCalls, 7); // the index at start, then once per pass
    EXPECT_TRUE(monitor.cachedActiveRules().empty());
}

TEST_F(BrowserMonitorTest, ActiveRulesFollowTheLocalDateAndMinute) {
    struct Step {
        int day; // January 2026: the 5th is a Monday
        int hour;
        int minute;
        bool blocks;
    } steps[] = {
        {5, 9, 59, false}, {5, 10, 0, true},  {5, 10, 59, true},
        {5, 11, 0, false}, {5, 12, 0, false}, // the same minute of the hour as 11:00 but another hour
        {5, 10, 5, true},  {5, 11, 5, false}, // an hour later: not the cached 10:05 rules
        {6, 10, 5, false},                    // Tuesday at the same time
        {12, 10, 5, true},
    };
    groups = {group({rule("*video.test*")}, mondays(600, 660))};
    d.world.addBrowser(kChrome, {"https://video.test/"});
    start();
    for (const auto& s : steps) {
        SCOPED_TRACE(std::to_string(s.day) + " " + std::to_string(s.hour) + ":" + std::to_string(s.minute));
        d.clock.setLocal(2026, 1, s.day, s.hour, s.minute, 30);
        d.world.setWindowURLs(kChrome, {"https://video.test/"});
        onePass();
        EXPECT_EQ(d.world.windowURLs(kChrome).front() != "https://video.test/", s.blocks);
    }
}

TEST_F(BrowserMonitorTest, RulesAreRecomputedOncePerMinuteOrAfterARefresh) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kChrome, {"https://news.test/"});
    int recomputations = 0;
    QObject::connect(&monitor, &BrowserMonitor::cachedMinuteChanged, [&] { ++recomputations; });
    start();
    onePass();
    onePass();
    EXPECT_EQ(recomputations, 1);
    EXPECT_EQ(d.world.windowURLs(kChrome).front(), "https://news.test/");

    groups.front() = groups.front().withRules({rule("*video.test*"), rule("*news.test*")});
    onePass(); // same minute, no refresh: the cached rules
    EXPECT_EQ(d.world.windowURLs(kChrome).front(), "https://news.test/");
    monitor.refreshRules();
    EXPECT_FALSE(monitor.cachedMinute());
    onePass();
    EXPECT_EQ(d.world.windowURLs(kChrome).front(), shielded("https://news.test/"));
}

TEST_F(BrowserMonitorTest, TheIndexMapsARepeatedRuleIdToTheLaterGroupAndIncludesDisabledOnes) {
    const BlockRule shared = rule("*video.test*");
    auto first = group({shared}, BlockSchedule::always(), "https://first.test/");
    auto second = group({shared.withIsEnabled(false)}, BlockSchedule::always(), "https://second.test/");
    second = second.withIsEnabled(false);
    groups = {first, second};
    start();
    ASSERT_EQ(monitor.ruleToGroup().size(), 1u);
    EXPECT_EQ(monitor.ruleToGroup().at(shared.id).id, second.id);
    EXPECT_EQ(monitor.redirectPrefixes(),
              (std::vector<std::string>{RedirectResolver::defaultShieldURL().text(), "https://first.test/",
                                        "https://second.test/"}));
}

// --- Scripts within the pass ------------------------------------------------------------------------------

TEST_F(BrowserMonitorTest, AHungBrowserEndsThePassAtFiveSecondsWhileOthersAreServed) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kChrome, {"https://video.test/"});
    d.world.addBrowser(kSafari, {"https://video.test/"});
    d.world.setHanging(kChrome, true);
    start();
    monitor.pollOnce();
    ASSERT_TRUE(
        test::waitUntil([&] { return d.world.windowURLs(kSafari).front() != "https://video.test/"; }));
    d.clock.advance(4999ms);
    test::processEvents();
    EXPECT_EQ(passes, 0);
    d.clock.advance(1ms);
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(monitor.permissionStates().at(kChrome), BrowserPermissionState::unknown);
}

// --- Browsers and the monitor going away mid-pass ---------------------------------------------------------

TEST_F(BrowserMonitorTest, ABrowserThatQuitsMidPassEndsItsPartQuietly) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kChrome, {"https://video.test/"});
    d.world.addBrowser(kFirefox, {"https://video.test/"});
    d.world.addApplication(kEditor, "notes");
    d.world.activate(kEditor);
    d.world.setHanging(kChrome, true);
    d.world.setHanging(kFirefox, true);
    start();
    monitor.pollOnce();
    ASSERT_TRUE(test::waitUntil([&] { return d.world.callsInFlight() == 2; }));
    d.world.quit(kChrome);
    d.world.quit(kFirefox);
    d.world.setHanging(kChrome, false);
    d.world.setHanging(kFirefox, false);
    waitForPasses(1);
    EXPECT_TRUE(d.world.keystrokes().empty());
    EXPECT_TRUE(d.world.redirectEvents().empty());
    EXPECT_EQ(d.world.text(kEditor), "notes");
    EXPECT_EQ(monitor.permissionStates().at(kChrome),
              BrowserPermissionState::unknown); // an error, not a refusal
}

TEST_F(BrowserMonitorTest, TheMonitorCanGoAwayMidPass) {
    groups = {group({rule("*video.test*")})};
    d.world.addBrowser(kChrome, {"https://video.test/"});
    d.world.addBrowser(kSafari, {"https://video.test/"});
    d.world.addBrowser(kFirefox, {"https://video.test/"});
    d.world.setHanging(kChrome, true);
    auto m = std::make_unique<BrowserMonitor>(
        BrowserMonitor::Ports{d.workspace, d.scriptHost, d.consent, d.tree, d.keystrokes}, d.clock, d.clock,
        nullptr, d.recordPause());
    m->start([this] { return groups; }, &flow);
    m->pollOnce();
    ASSERT_TRUE(test::waitUntil([&] { return d.world.keystrokes().size() == 4; }));
    m.reset();
    d.clock.advance(10s);
    test::processEvents();
    d.world.setHanging(kChrome, false);
    ASSERT_TRUE(test::waitUntil([&] { return d.world.callsInFlight() == 0; }));
    test::processEvents();
    d.world.activate(kChrome); // no observer is left behind
    EXPECT_EQ(d.clock.activeTimerCount(), 0);
}

} // namespace
} // namespace kivo
