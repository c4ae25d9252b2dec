#include "SimulatedDesktop.h"
#include "platform/simulated/SimulatedInputMethod.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

namespace kivo {
namespace {

using AX = SimulatedBrowserWorld::AXNode;
using Keystroke = SimulatedBrowserWorld::Keystroke;

const std::string kFirefox = "org.mozilla.firefox";
const std::string kDuck = "com.duckduckgo.macos.browser";

// A chain of plain groups with a web area at the given depth below the application (depth 0).
AX webAreaAtDepth(int depth, const std::string& url) {
    AX node{"AXWebArea", url, {}, true};
    for (int d = depth - 1; d >= 1; --d) {
        node = AX{"AXGroup", std::nullopt, {node}, true};
    }
    return AX{"AXApplication", std::nullopt, {node}, true};
}

// A desktop of its own with a bridge over it, for one case of a table.
struct FreshBridge {
    test::SimulatedDesktop desk;
    BrowserWorkerPool workers{desk.clock};
    AccessibilityBrowserBridge bridge{
        {desk.workspace, desk.tree, desk.keystrokes}, workers, desk.clock, desk.clock, desk.recordPause()};
};

class AccessibilityBrowserBridgeTest : public ::testing::Test {
protected:
    test::SimulatedDesktop d;
    BrowserWorkerPool pool{d.clock};
    AccessibilityBrowserBridge bridge{
        {d.workspace, d.tree, d.keystrokes}, pool, d.clock, d.clock, d.recordPause()};

    std::optional<std::vector<std::string>> read(const std::string& id) {
        std::optional<std::optional<std::vector<std::string>>> got;
        bridge.tabURLs(id, [&](auto urls) { got = std::move(urls); });
        EXPECT_TRUE(test::waitUntil([&] { return got.has_value(); }));
        return got ? *got : std::nullopt;
    }
    bool redirect(const std::string& id, const std::string& from, const std::string& to) {
        std::optional<bool> got;
        bridge.redirect(id, from, to, [&](bool sent) { got = sent; });
        EXPECT_TRUE(test::waitUntil([&] { return got.has_value(); }));
        return got.value_or(false);
    }
};

TEST_F(AccessibilityBrowserBridgeTest, WalkReachesDepthTwelveButNotThirteen) {
    struct Case {
        int depth;
        bool found;
    } cases[] = {{1, true}, {3, true}, {12, true}, {13, false}, {20, false}};
    d.world.addBrowser(kFirefox, {});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        d.world.setAccessibilityTree(kFirefox, webAreaAtDepth(c.depth, "https://deep.test/"));
        const auto urls = read(kFirefox);
        EXPECT_EQ(urls.has_value(), c.found);
    }
}

TEST_F(AccessibilityBrowserBridgeTest, WalkStopsAtWebAreasKeepsFirstOccurrencesAndIgnoresEmptyURLs) {
    d.world.addBrowser(kFirefox, {});
    AX nestedPage{
        "AXWebArea", "https://outer.test/", {AX{"AXWebArea", "https://inner.test/", {}, true}}, true};
    AX noURL{"AXWebArea", std::nullopt, {AX{"AXWebArea", "https://hidden.test/", {}, true}}, true};
    AX emptyURL{"AXWebArea", std::string(), {}, true};
    AX unreadable{"AXGroup", std::nullopt, {AX{"AXWebArea", "https://unreachable.test/", {}, true}}, false};
    AX window1{"AXWindow", std::nullopt, {AX{"AXWebArea", "https://b.test/", {}, true}, nestedPage}, true};
    AX window2{"AXWindow",
               std::nullopt,
               {noURL, emptyURL, unreadable, AX{"AXWebArea", "https://b.test/", {}, true}},
               true};
    AX window3{"AXWindow", std::nullopt, {AX{"AXWebArea", "https://a.test/", {}, true}}, true};
    d.world.setAccessibilityTree(kFirefox,
                                 AX{"AXApplication", std::nullopt, {window1, window2, window3}, true});
    test::LogCapture log;
    EXPECT_EQ(read(kFirefox),
              (std::vector<std::string>{"https://b.test/", "https://outer.test/", "https://a.test/"}));
    EXPECT_TRUE(log.contains("AX urls for org.mozilla.firefox: 3 — https://b.test/"));
}

TEST_F(AccessibilityBrowserBridgeTest, NothingToReadGivesNoneAndNoMessage) {
    test::LogCapture log;
    EXPECT_FALSE(read(kFirefox)); // not running
    d.world.addBrowser(kFirefox, {});
    EXPECT_FALSE(read(kFirefox)); // no windows
    d.world.setWindowURLs(kFirefox, {std::string()});
    EXPECT_FALSE(read(kFirefox)); // a page with an empty URL text
    d.world.setWindowURLs(kFirefox, {"https://a.test/"});
    d.world.setTrusted(false);
    EXPECT_FALSE(read(kFirefox)); // every read fails while not trusted
    EXPECT_FALSE(log.contains("AX urls"));
    d.world.setTrusted(true);
    EXPECT_EQ(read(kFirefox), std::vector<std::string>{"https://a.test/"});
}

TEST_F(AccessibilityBrowserBridgeTest, RedirectTypesIntoTheBrowserAndPausesOnlyAfterActivating) {
    d.world.addBrowser(kFirefox, {"https://video.test/watch"});
    d.world.addApplication("org.example.Editor", "my notes");
    d.world.activate(kFirefox);
    test::LogCapture log;
    const std::string target = "https://shield.test/shield?blocked=video.test%2Fwatch";
    EXPECT_TRUE(redirect(kFirefox, "https://video.test/watch", target));
    EXPECT_EQ(d.world.windowURLs(kFirefox).front(), target);
    EXPECT_TRUE(d.recordedPauses().empty()); // every answer is polled for, and here it is there at once
    EXPECT_EQ(d.world.callCounts().activations, 0);
    EXPECT_TRUE(log.contains("AX redirect for org.mozilla.firefox: https://video.test/watch -> " + target));

    // In the background: activated first, then the 80 ms pause.
    d.world.activate("org.example.Editor");
    d.pauses.clear();
    d.world.setWindowURLs(kFirefox, {"https://video.test/other"});
    EXPECT_TRUE(redirect(kFirefox, "https://video.test/other", target));
    EXPECT_EQ(d.recordedPauses(), (std::vector<std::chrono::milliseconds>{80ms}));
    EXPECT_EQ(d.world.frontmost(), kFirefox);
    EXPECT_EQ(d.world.text("org.example.Editor"), "my notes");
}

TEST_F(AccessibilityBrowserBridgeTest, FocusLostMidSequenceReachesNothingElse) {
    // After each number of groups that reached the browser, the user clicks into an editor.
    for (int groups = 0; groups <= 3; ++groups) {
        SCOPED_TRACE(groups);
        FreshBridge fresh;
        auto& desk = fresh.desk;
        auto& b = fresh.bridge;
        desk.world.addBrowser(kFirefox, {"https://video.test/"});
        desk.world.addApplication("org.example.Editor", "precious text");
        desk.world.activate(kFirefox);
        if (groups == 0) {
            desk.world.setKeyboardFocus("org.example.Editor");
        } else {
            desk.world.switchFocusAfterKeystrokes(groups, "org.example.Editor");
        }
        test::LogCapture log;
        std::optional<bool> sent;
        b.redirect(kFirefox, "https://video.test/", "https://shield.test/", [&](bool s) { sent = s; });
        ASSERT_TRUE(test::waitUntil([&] { return sent.has_value(); }));
        EXPECT_FALSE(*sent);
        EXPECT_EQ(desk.world.text("org.example.Editor"), "precious text");
        for (const auto& k : desk.world.keystrokes()) {
            EXPECT_EQ(k.target, kFirefox);
        }
        EXPECT_EQ(static_cast<int>(desk.world.keystrokes().size()), groups);
        EXPECT_EQ(desk.world.windowURLs(kFirefox).front(), "https://video.test/");
        EXPECT_TRUE(log.contains("AX redirect for org.mozilla.firefox failed"));
        // Nothing held back: back in the browser, the page is redirected at once.
        desk.world.activate(kFirefox);
        sent.reset();
        b.redirect(kFirefox, "https://video.test/", "https://shield.test/", [&](bool s) { sent = s; });
        ASSERT_TRUE(test::waitUntil([&] { return sent.has_value(); }));
        EXPECT_TRUE(*sent);
    }
}

TEST(AccessibilityBrowserBridgeInputMethodTest, TypesThroughTheInputMethodAndLeavesItAsItWas) {
    using IM = SimulatedBrowserWorld::InputMethodModel;
    using Kind = PlainTyping::Kind;
    const std::string page = "https://video.test/watch";
    const std::string target = "https://shield.test/shield?blocked=aa.test%2Fwatch%3Fv%3Dzz";
    const int keys = static_cast<int>(target.size());
    struct Case {
        const char* name;
        IM im;
        int focusIntoPageAfter; // groups; 0: never
        bool redirected;
        int pauses;         // between keys
        const char* logged; // on failure
    } cases[] = {
        {"none", {}, 0, true, 0, nullptr},
        {"keyboard engine", {.present = true, .losesQueuedKeys = true}, 0, true, keys - 1, nullptr},
        {"composing engine",
         {.present = true, .composes = true, .losesQueuedKeys = true},
         0,
         true,
         keys - 1,
         nullptr},
        {"cannot switch",
         {.present = true, .composes = true, .switchable = false},
         0,
         false,
         0,
         "its input method cannot be put into plain typing: cannot switch"},
        {"says plain, composes",
         {.present = true, .composes = true, .claims = Kind::plain},
         0,
         false,
         keys - 1,
         "the window did not show the new page"},
        {"told of the focus at the second shortcut",
         {.present = true, .composes = true, .toldOfFocusAtShortcut = 2},
         0,
         true,
         keys - 1,
         nullptr},
        {"never told of the focus",
         {.present = true, .composes = true, .toldOfFocusAtShortcut = 0},
         0,
         false,
         0,
         "its input method cannot be put into plain typing: no focused input context"},
        {"field left mid-way",
         {.present = true, .composes = true},
         4,
         false,
         1,
         "the address field lost the focus"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::SimulatedDesktop desk;
        SimulatedInputMethod inputMethod{desk.world};
        BrowserWorkerPool workers{desk.clock};
        AccessibilityBrowserBridge bridge{{desk.workspace, desk.tree, desk.keystrokes, &inputMethod},
                                          workers,
                                          desk.clock,
                                          desk.clock,
                                          desk.recordPause()};
        desk.world.addBrowser(kFirefox, {page});
        desk.world.activate(kFirefox);
        desk.world.setInputMethod(c.im);
        if (c.focusIntoPageAfter > 0) {
            desk.world.moveFocusIntoPageAfterKeystrokes(c.focusIntoPageAfter);
        }
        test::LogCapture log;
        std::optional<bool> sent;
        bridge.redirect(kFirefox, page, target, [&](bool s) { sent = s; });
        ASSERT_TRUE(test::waitUntil([&] { return sent.has_value(); }));
        EXPECT_EQ(*sent, c.redirected);
        EXPECT_EQ(desk.world.windowURLs(kFirefox).front(), c.redirected ? target : page);
        EXPECT_EQ(desk.world.inputMethod(), c.im); // the user's engine and mode, as they were
        const auto pauses = desk.recordedPauses();
        EXPECT_EQ(std::count(pauses.begin(), pauses.end(), AccessibilityBrowserBridge::kInputMethodKeyPause),
                  c.pauses);
        if (c.logged) {
            EXPECT_TRUE(log.contains(c.logged));
        }
        // Nothing typed stays in a field that still has the focus.
        const auto window =
            desk.tree.focusedWindow(desk.tree.applicationElement(*bridge.processIdentifier(kFirefox)));
        const auto field = window ? desk.tree.addressField(*window) : std::nullopt;
        if (!c.redirected && field && field->focused) {
            EXPECT_EQ(field->text, page);
        }
    }
}

TEST_F(AccessibilityBrowserBridgeTest, NoRunningBrowserIsFalseWithAnErrorLine) {
    test::LogCapture log;
    EXPECT_FALSE(redirect(kFirefox, "https://a.test/", "https://b.test/"));
    EXPECT_TRUE(log.contains("|critical|AX redirect for org.mozilla.firefox failed"));
    EXPECT_TRUE(d.world.keystrokes().empty());
}

TEST_F(AccessibilityBrowserBridgeTest, TwoRedirectsNeverInterleave) {
    d.world.addBrowser(kFirefox, {"https://a.test/"});
    d.world.addBrowser(kDuck, {"https://b.test/"});
    d.world.activate(kFirefox);
    int finished = 0;
    std::vector<bool> results;
    bridge.redirect(kFirefox, "https://a.test/", "https://one.test/",
                    [&](bool s) { results.push_back(s), ++finished; });
    bridge.redirect(kDuck, "https://b.test/", "https://two.test/",
                    [&](bool s) { results.push_back(s), ++finished; });
    EXPECT_EQ(bridge.pendingRedirects(), 2);
    ASSERT_TRUE(test::waitUntil([&] { return finished == 2; }));
    EXPECT_EQ(results, (std::vector<bool>{true, true}));
    const auto keys = d.world.keystrokes();
    ASSERT_EQ(keys.size(), 8u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(keys[i].target, kFirefox);
        EXPECT_EQ(keys[i + 4].target, kDuck);
    }
    EXPECT_EQ(d.world.windowURLs(kFirefox).front(), "https://one.test/");
    EXPECT_EQ(d.world.windowURLs(kDuck).front(), "https://two.test/");
}

TEST_F(AccessibilityBrowserBridgeTest, APageTwoProcessesShowIsReplacedFirstInTheFrontOneWhereTheUserIs) {
    // A second process (a new profile just started) comes up in front, showing the page the first also
    // shows behind it.
    d.world.addBrowser(kFirefox, {"https://a.test/"});
    const int front = d.world.addBrowser(kFirefox, {"https://a.test/"});
    ASSERT_TRUE(d.workspace.activate(front));
    const int activations = d.world.callCounts().activations;
    EXPECT_TRUE(redirect(kFirefox, "https://a.test/", "https://shield.test/"));
    EXPECT_EQ(d.world.callCounts().activations, activations) << "nothing else brought forward";
    EXPECT_EQ(d.world.windowURLs(kFirefox).front(), "https://a.test/")
        << "the first process's, left for later";
    EXPECT_EQ(d.world.frontmost(), kFirefox);
}

TEST_F(AccessibilityBrowserBridgeTest, ANewVisitOfARedirectedPageIsRedirectedAtOnce) {
    d.world.addBrowser(kFirefox, {"https://a.test/"});
    d.world.activate(kFirefox);
    EXPECT_TRUE(redirect(kFirefox, "https://a.test/", "https://shield.test/"));
    // Back, or the page opened again: a new document of it.
    d.world.setWindowURLs(kFirefox, {"https://a.test/"});
    EXPECT_TRUE(redirect(kFirefox, "https://a.test/", "https://shield.test/"));
    EXPECT_EQ(d.world.keystrokes().size(), 8u);
    EXPECT_EQ(d.world.windowURLs(kFirefox).front(), "https://shield.test/");
}

TEST_F(AccessibilityBrowserBridgeTest, TheTypedURLIsOneEventAndNeverHoldsAKey) {
    d.world.addBrowser(kFirefox, {"https://a.test/"});
    d.world.activate(kFirefox);
    const std::string longURL = "https://x.test/?q=\"end tell\"\\" + std::string(1900, 'x') + "&end";
    EXPECT_TRUE(redirect(kFirefox, "https://a.test/", longURL));
    auto keys = d.world.keystrokes();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[2], (Keystroke{kFirefox, "type", longURL}));
    EXPECT_EQ(d.world.windowURLs(kFirefox).front(), longURL);

    // A line break would press Return half way through: such an address is not typed at all, nor one
    // too long to type reliably.
    const std::string tooLong =
        "https://x.test/" + std::string(AccessibilityBrowserBridge::kMaxTypedLength, 'x');
    for (const auto& [hostile, why] :
         {std::pair{std::string("https://x.test/\nhttps://evil.test/"), "the address cannot be typed"},
          std::pair{std::string("https://x.test/\t"), "the address cannot be typed"},
          std::pair{std::string("https://x.test/\x7f"), "the address cannot be typed"},
          std::pair{tooLong, "the address is too long to type"}}) {
        d.world.setWindowURLs(kFirefox, {"https://a.test/"});
        test::LogCapture log;
        EXPECT_FALSE(redirect(kFirefox, "https://a.test/", hostile));
        EXPECT_EQ(d.world.keystrokes().size(), 4u);
        EXPECT_TRUE(log.contains(why));
        d.clock.advance(AccessibilityBrowserBridge::kRepeatWindow); // not tried again every pass
        EXPECT_FALSE(redirect(kFirefox, "https://a.test/", hostile));
        EXPECT_TRUE(log.contains("failed recently"));
    }
}

TEST_F(AccessibilityBrowserBridgeTest, OnlyATypedAddressReadBackAndThenShownCounts) {
    struct Case {
        const char* name;
        std::string autofill;
        bool sticks;
        bool stalled;
        bool sent;
        std::vector<std::string> groups;
        const char* why;
    } cases[] = {
        {"plain", "", false, false, true, {"focusAddressField", "selectAll", "type", "return"}, ""},
        {"suggestion removed",
         "/watch",
         false,
         false,
         true,
         {"focusAddressField", "selectAll", "type", "delete", "return"},
         ""},
        {"suggestion sticks",
         "/watch",
         true,
         false,
         false,
         {"focusAddressField", "selectAll", "type", "delete", "escape"}, // the field gets its page back
         "the address field did not hold the typed address"},
        {"page never loads",
         "",
         false,
         true,
         false,
         {"focusAddressField", "selectAll", "type", "return"},
         "the window did not show the new page"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FreshBridge fresh;
        auto& desk = fresh.desk;
        auto& b = fresh.bridge;
        desk.world.addBrowser(kFirefox, {"https://video.test/"});
        desk.world.activate(kFirefox);
        desk.world.setAutofill(kFirefox, c.autofill, c.sticks);
        desk.world.setNavigationStalled(kFirefox, c.stalled);
        test::LogCapture log;
        std::optional<bool> sent;
        b.redirect(kFirefox, "https://video.test/", "https://shield.test/", [&](bool s) { sent = s; });
        ASSERT_TRUE(test::waitUntil([&] { return sent.has_value(); }));
        EXPECT_EQ(*sent, c.sent);
        std::vector<std::string> groups;
        for (const auto& k : desk.world.keystrokes()) {
            groups.push_back(k.group);
        }
        EXPECT_EQ(groups, c.groups);
        EXPECT_EQ(desk.world.windowURLs(kFirefox).front(),
                  c.sent ? "https://shield.test/" : "https://video.test/");
        if (!c.sent) {
            EXPECT_TRUE(
                log.contains(std::string("|critical|AX redirect for org.mozilla.firefox failed (") + c.why));
        }
    }
}

TEST_F(AccessibilityBrowserBridgeTest, EnablingTheInterfaceSetsBothSwitches) {
    d.world.addBrowser(kFirefox, {});
    bridge.enableAccessibilityInterface(kFirefox);
    bridge.enableAccessibilityInterface(kDuck); // not running: nothing
    ASSERT_TRUE(test::waitUntil([&] { return d.world.booleanAttributesSet().size() == 2; }));
    EXPECT_EQ(d.world.booleanAttributesSet(),
              (std::vector<std::pair<std::string, std::string>>{{kFirefox, "AXEnhancedUserInterface"},
                                                                {kFirefox, "AXManualAccessibility"}}));
}

TEST_F(AccessibilityBrowserBridgeTest, EveryProcessOfTheBrowserIsReadAndSwitchedOn) {
    // A second profile, or two builds of one row (Chrome and Chromium), run as processes of their own.
    d.world.addBrowser(kFirefox, {"https://a.test/"});
    d.world.addBrowser(kFirefox, {"https://b.test/", "https://a.test/"});
    EXPECT_EQ(read(kFirefox), (std::vector<std::string>{"https://a.test/", "https://b.test/"}));
    bridge.enableAccessibilityInterface(kFirefox);
    EXPECT_TRUE(test::waitUntil([&] { return d.world.booleanAttributesSet().size() == 4; }));
}

TEST_F(AccessibilityBrowserBridgeTest, ARedirectAskedForWhileActivatingABrowserWaitsItsTurn) {
    d.world.addBrowser(kFirefox, {"https://a.test/"});
    d.world.addBrowser(kDuck, {"https://b.test/"});
    d.world.addApplication("org.example.Editor", "notes");
    d.world.activate("org.example.Editor");
    // Bringing Firefox to the front tells the desktop's observers at once; one of them asks for another
    // redirect before the first has started typing.
    std::vector<bool> results;
    bool asked = false;
    d.workspace.addActivationObserver([&](const std::string& id) {
        if (id == kFirefox && !asked) {
            asked = true;
            bridge.redirect(kDuck, "https://b.test/", "https://two.test/",
                            [&](bool s) { results.push_back(s); });
        }
    });
    bridge.redirect(kFirefox, "https://a.test/", "https://one.test/", [&](bool s) { results.push_back(s); });
    ASSERT_TRUE(test::waitUntil([&] { return results.size() == 2; }));
    test::processEvents();
    EXPECT_EQ(results, (std::vector<bool>{true, true}));
    const auto keys = d.world.keystrokes();
    ASSERT_EQ(keys.size(), 8u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(keys[i].target, kFirefox);
        EXPECT_EQ(keys[i + 4].target, kDuck);
    }
    EXPECT_EQ(d.world.windowURLs(kFirefox).front(), "https://one.test/");
    EXPECT_EQ(d.world.windowURLs(kDuck).front(), "https://two.test/");
    EXPECT_EQ(d.world.text("org.example.Editor"), "notes");
}

TEST_F(AccessibilityBrowserBridgeTest, ABrowserTheDesktopWillNotBringForwardGetsNoKeystrokes) {
    d.world.addBrowser(kFirefox, {"https://video.test/"});
    d.world.addApplication("org.example.Editor", "precious text");
    d.world.activate("org.example.Editor");
    d.world.setActivationRefused(true);
    EXPECT_FALSE(redirect(kFirefox, "https://video.test/", "https://shield.test/"));
    EXPECT_TRUE(d.world.keystrokes().empty());
    EXPECT_EQ(d.world.text("org.example.Editor"), "precious text");
    EXPECT_EQ(d.world.windowURLs(kFirefox).front(), "https://video.test/");
}

TEST_F(AccessibilityBrowserBridgeTest, TheWindowShowingTheURLIsBroughtForwardAndOnlyItIsTypedInto) {
    using Windows = std::vector<std::optional<std::string>>;
    struct Case {
        Windows windows; // the first one has the focus
        bool sent;
        Windows after;
    } cases[] = {
        {{"https://video.test/", "https://docs.test/edit"},
         true,
         {"https://shield.test/", "https://docs.test/edit"}},
        {{"https://docs.test/edit", "https://video.test/"},
         true,
         {"https://shield.test/", "https://docs.test/edit"}},
        {{std::nullopt, "https://video.test/"}, true, {"https://shield.test/", std::nullopt}},
        {{"https://docs.test/edit"}, false, {"https://docs.test/edit"}},
        {{}, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.windows.size() > 0 ? c.windows.front().value_or("none") : "no window");
        FreshBridge fresh;
        auto& desk = fresh.desk;
        auto& b = fresh.bridge;
        desk.world.addBrowser(kFirefox, c.windows);
        desk.world.addApplication("org.example.Editor", "notes");
        desk.world.activate("org.example.Editor"); // the browser is in the background
        test::LogCapture log;
        std::optional<bool> sent;
        b.redirect(kFirefox, "https://video.test/", "https://shield.test/", [&](bool s) { sent = s; });
        ASSERT_TRUE(test::waitUntil([&] { return sent.has_value(); }));
        EXPECT_EQ(*sent, c.sent);
        EXPECT_EQ(desk.world.windowURLs(kFirefox), c.after);
        EXPECT_EQ(desk.world.text("org.example.Editor"), "notes");
        if (c.sent) {
            EXPECT_EQ(desk.world.frontmost(), kFirefox);
        } else {
            // Nothing typed, and the user is not pulled away from the editor for nothing.
            EXPECT_EQ(desk.world.frontmost(), "org.example.Editor");
            EXPECT_EQ(desk.world.callCounts().activations, 0);
            EXPECT_TRUE(desk.world.keystrokes().empty());
            // Looked at again every pass: not an error line each second.
            EXPECT_TRUE(log.contains("|debug|AX redirect for org.mozilla.firefox not sent"));
            EXPECT_FALSE(log.contains("|critical|"));
        }
    }
}

TEST_F(AccessibilityBrowserBridgeTest, AWindowSwitchWhileTheBrowserComesForwardStopsTheTyping) {
    d.world.addBrowser(kFirefox, {"https://video.test/", "https://docs.test/edit"});
    d.world.addApplication("org.example.Editor", "notes");
    d.world.activate("org.example.Editor");
    d.workspace.addActivationObserver([&](const std::string& id) {
        if (id == kFirefox) {
            d.world.setWindowURLs(kFirefox, {"https://docs.test/edit", "https://video.test/"});
        }
    });
    EXPECT_FALSE(redirect(kFirefox, "https://video.test/", "https://shield.test/"));
    EXPECT_TRUE(d.world.keystrokes().empty());
    EXPECT_EQ(d.world.windowURLs(kFirefox).front(), "https://docs.test/edit");
}

TEST_F(AccessibilityBrowserBridgeTest, KeysGoOnlyWhereProvenAndOnlyANewLoadedPageCounts) {
    using World = SimulatedBrowserWorld;
    const std::vector<std::string> all{"focusAddressField", "selectAll", "type", "return"};
    struct Case {
        const char* name;
        std::function<void(World&)> setUp;
        std::vector<std::string> groups; // that reached the browser
        const char* why;
        bool typedAgainForANewDocument;
    } cases[] = {
        {"a locker holds the keyboard",
         [](World& w) { w.setKeyboardGrabbed(true); },
         {},
         "the browser lost the keyboard focus",
         true},
        {"a modifier is held", [](World& w) { w.setModifierHeld(true); }, {}, "a modifier key is held", true},
        {"its desktop window cannot be told",
         [](World& w) { w.setWindowHandlesUnknown(kFirefox, true); },
         {},
         "its desktop window cannot be told",
         true},
        {"the page takes the shortcut",
         [](World& w) { w.setPageTakesShortcut(kFirefox, true); },
         {"focusAddressField"},
         "the address field did not take the focus",
         false},
        {"an app window",
         [](World& w) { w.setHasAddressField(kFirefox, false); },
         {},
         "the window has no address field",
         false},
        {"only the old page's address changes", [](World& w) { w.setOldPageTakesAddress(kFirefox, true); },
         all, "the new page is still loading", true},
        {"the new page is still loading", [](World& w) { w.setLoadsSlowly(kFirefox, true); }, all,
         "the new page is still loading", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FreshBridge fresh;
        auto& desk = fresh.desk;
        auto& b = fresh.bridge;
        desk.world.addBrowser(kFirefox, {"https://video.test/"});
        desk.world.activate(kFirefox);
        c.setUp(desk.world);
        const auto attempt = [&] {
            std::optional<bool> sent;
            b.redirect(kFirefox, "https://video.test/", "https://shield.test/", [&](bool s) { sent = s; });
            EXPECT_TRUE(test::waitUntil([&] { return sent.has_value(); }));
            return sent.value_or(true);
        };
        test::LogCapture log;
        EXPECT_FALSE(attempt());
        std::vector<std::string> groups;
        for (const auto& k : desk.world.keystrokes()) {
            groups.push_back(k.group);
        }
        EXPECT_EQ(groups, c.groups);
        EXPECT_TRUE(
            log.contains(std::string("|critical|AX redirect for org.mozilla.firefox failed (") + c.why));
        // A window that failed is not typed into again every pass; a new document of the page elsewhere
        // is typed into at once.
        desk.world.setWindowURLs(kFirefox, {"https://video.test/"});
        const auto before = desk.world.keystrokes().size();
        attempt();
        EXPECT_EQ(desk.world.keystrokes().size() > before, c.typedAgainForANewDocument && !c.groups.empty());
    }
}

TEST_F(AccessibilityBrowserBridgeTest, AClickIntoThePageWhileTypingStopsTheTyping) {
    d.world.addBrowser(kFirefox, {"https://video.test/"});
    d.world.activate(kFirefox);
    const std::string target = "https://shield.test/shield?blocked=" + std::string(80, 'v');
    d.world.moveFocusIntoPageAfterKeystrokes(3); // the shortcut, select-all and the first part of the text
    test::LogCapture log;
    EXPECT_FALSE(redirect(kFirefox, "https://video.test/", target));
    EXPECT_TRUE(log.contains("failed (the address field lost the focus)"));
    const auto keys = d.world.keystrokes();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[2],
              (Keystroke{kFirefox, "type", target.substr(0, AccessibilityBrowserBridge::kTypedChunk)}));
    EXPECT_EQ(d.world.text(kFirefox), ""); // nothing reached the page's field
    EXPECT_EQ(d.world.windowURLs(kFirefox).front(), "https://video.test/");
}

// What a redirect's outcome holds back, for how long, and from which windows: the same window (and
// document) again at once, just before and at the end of the span, and the page in another window.
TEST(AccessibilityBrowserBridgeHoldTest, OutcomesHoldBackOnlyWhatWouldFailAgain) {
    using World = SimulatedBrowserWorld;
    using Bridge = AccessibilityBrowserBridge;
    const std::string page = "https://video.test/";
    struct Case {
        const char* name;
        std::function<void(World&)> setUp;
        std::function<void(World&)> clear; // what the user sets right after the first attempt
        std::chrono::milliseconds span;    // zero: nothing is held
        bool otherWindowAtOnce;
    } cases[] = {
        {"a typed navigation keeps the old page", [](World& w) { w.setNavigationPending(kFirefox, true); },
         nullptr, Bridge::kLoadingHold, true},
        {"a page takes the shortcut", [](World& w) { w.setPageTakesShortcut(kFirefox, true); }, nullptr,
         Bridge::kFailureHold, true},
        {"Return is lost", [](World& w) { w.setNavigationStalled(kFirefox, true); }, nullptr,
         Bridge::kFailureHold, false},
        {"the typed text does not read back", [](World& w) { w.setAutofill(kFirefox, "/x", true); }, nullptr,
         Bridge::kFailureHold, false},
        {"a click into the page after the text", [](World& w) { w.moveFocusIntoPageAfterKeystrokes(3); },
         nullptr, 0ms, true},
        {"a modifier is held", [](World& w) { w.setModifierHeld(true); },
         [](World& w) { w.setModifierHeld(false); }, 0ms, true},
    };
    for (const auto& c : cases) {
        for (const bool otherWindow : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (otherWindow ? ", another window" : ", the same window"));
            FreshBridge fresh;
            auto& desk = fresh.desk;
            auto& b = fresh.bridge;
            desk.world.addBrowser(kFirefox, {page});
            desk.world.activate(kFirefox);
            c.setUp(desk.world);
            // Whether an attempt sent any key.
            const auto typed = [&] {
                const auto before = desk.world.keystrokes().size();
                std::optional<bool> sent;
                b.redirect(kFirefox, page, "https://shield.test/", [&](bool s) { sent = s; });
                EXPECT_TRUE(test::waitUntil([&] { return sent.has_value(); }));
                return desk.world.keystrokes().size() > before;
            };
            typed();
            if (c.clear) {
                c.clear(desk.world);
            }
            if (otherWindow) {
                desk.world.openWindow(kFirefox, page);
                EXPECT_EQ(typed(), c.otherWindowAtOnce);
                continue;
            }
            EXPECT_EQ(typed(), c.span == 0ms);
            if (c.span > 0ms) {
                desk.clock.advance(c.span - 1ms);
                EXPECT_FALSE(typed());
                desk.clock.advance(1ms);
                EXPECT_TRUE(typed());
            }
        }
    }
}

// Sends the first part of the typed text and then hangs, as a stuck X server would, until let go.
class StuckAfterFirstPart final : public KeystrokeSink {
public:
    explicit StuckAfterFirstPart(KeystrokeSink& real) : real_(real) {}
    bool hasKeyboardFocus(WindowHandle w) override { return real_.hasKeyboardFocus(w); }
    std::optional<std::string> keyboardText(const std::string& url) override {
        return real_.keyboardText(url);
    }
    KeystrokeResult focusAddressField(WindowHandle w) override { return real_.focusAddressField(w); }
    KeystrokeResult selectAll(WindowHandle w) override { return real_.selectAll(w); }
    KeystrokeResult typeText(WindowHandle w, const std::string& text) override {
        const auto result = real_.typeText(w, text);
        std::unique_lock lock(mutex_);
        stuck_ = true;
        letGo_.wait(lock, [&] { return released_; });
        return result;
    }
    KeystrokeResult pressReturn(WindowHandle w) override { return real_.pressReturn(w); }
    KeystrokeResult pressDelete(WindowHandle w) override { return real_.pressDelete(w); }
    KeystrokeResult pressEscape(WindowHandle w) override { return real_.pressEscape(w); }
    bool stuck() {
        std::lock_guard lock(mutex_);
        return stuck_;
    }
    void release() {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
        }
        letGo_.notify_all();
    }

private:
    KeystrokeSink& real_;
    std::mutex mutex_;
    std::condition_variable letGo_;
    bool stuck_ = false;
    bool released_ = false;
};

TEST(AccessibilityBrowserBridgeDeadlineTest, NoKeyGoesOutAfterTheDeadlineReportedTheFailure) {
    test::SimulatedDesktop desk;
    StuckAfterFirstPart stuck(desk.keystrokes);
    BrowserWorkerPool workers{desk.clock};
    AccessibilityBrowserBridge b{
        {desk.workspace, desk.tree, stuck}, workers, desk.clock, desk.clock, desk.recordPause()};
    desk.world.addBrowser(kFirefox, {"https://video.test/"});
    desk.world.addBrowser(kDuck, {"https://other.test/"});
    desk.world.activate(kFirefox);
    const std::string target = "https://shield.test/shield?blocked=" + std::string(80, 'v');
    test::LogCapture log;
    std::optional<bool> sent;
    b.redirect(kFirefox, "https://video.test/", target, [&](bool s) { sent = s; });
    ASSERT_TRUE(test::waitUntil([&] { return stuck.stuck(); }));
    desk.clock.advance(AccessibilityBrowserBridge::kKeystrokeDeadline);
    ASSERT_TRUE(test::waitUntil([&] { return sent.has_value(); }));
    EXPECT_FALSE(*sent);
    EXPECT_TRUE(log.contains("AX redirect for org.mozilla.firefox failed (timed out)"));
    stuck.release();
    // Once the job has ended, the keyboard takes the next redirect.
    ASSERT_TRUE(test::waitUntil([&] {
        std::optional<bool> other;
        b.redirect(kDuck, "https://other.test/", "https://shield.test/", [&](bool s) { other = s; });
        test::waitUntil([&] { return other.has_value(); });
        return other.value_or(false);
    }));
    std::vector<std::string> firefoxGroups;
    for (const auto& k : desk.world.keystrokes()) {
        if (k.target == kFirefox) {
            firefoxGroups.push_back(k.group + (k.group == "type" ? ":" + k.text : ""));
        }
    }
    EXPECT_EQ(firefoxGroups, (std::vector<std::string>{
                                 "focusAddressField", "selectAll",
                                 "type:" + target.substr(0, AccessibilityBrowserBridge::kTypedChunk)}));
    EXPECT_EQ(desk.world.windowURLs(kFirefox).front(), "https://video.test/");
    // And it is held like any other failure that would repeat itself.
    sent.reset();
    b.redirect(kFirefox, "https://video.test/", target, [&](bool s) { sent = s; });
    EXPECT_EQ(sent, std::optional<bool>(false)); // refused at once, without a look at the browser
    EXPECT_TRUE(log.contains("failed recently"));
}

TEST_F(AccessibilityBrowserBridgeTest, APageInAnyProcessOfTheBrowserIsRedirected) {
    d.world.addBrowser(kFirefox, {"https://other.test/"});
    d.world.addBrowser(kFirefox, {"https://video.test/"}); // a second profile
    d.world.activate(kFirefox);
    EXPECT_TRUE(redirect(kFirefox, "https://video.test/", "https://shield.test/"));
    EXPECT_EQ(d.world.keystrokes().size(), 4u);
}

} // namespace
} // namespace kivo

namespace kivo {
namespace {

TEST(AccessibilityBrowserBridgeLifetimeTest, WorkStillRunningWhenTheBridgeAndItsPortsGoTouchesNothingFreed) {
    for (int i = 0; i < 3; ++i) {
        auto d = std::make_unique<test::SimulatedDesktop>();
        d->world.addBrowser(kFirefox, {"https://a.test/"});
        d->world.setLatency(kFirefox, 30ms); // each read is still under way when everything goes
        {
            BrowserWorkerPool pool{d->clock};
            AccessibilityBrowserBridge bridge{
                {d->workspace, d->tree, d->keystrokes}, pool, d->clock, d->clock};
            bridge.tabURLs(kFirefox, [](auto) {});
            bridge.enableAccessibilityInterface(kDuck);
            bridge.enableAccessibilityInterface(kFirefox);
        }
        d.reset(); // as at quit: the ports go right after the bridge
        std::this_thread::sleep_for(100ms);
    }
}

} // namespace
} // namespace kivo
