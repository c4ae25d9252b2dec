#include "browser-monitor/AccessibilityPermissionFlow.h"
#include "SimulatedDesktop.h"
#include "settings/MemoryDefaultsStore.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

const std::string kFirefox = "org.mozilla.firefox";
const std::string kDuck = "com.duckduckgo.macos.browser";
constexpr const char* kKey = "accessibilityPromptSuppressedBundleIds";

class AccessibilityPermissionFlowTest : public ::testing::Test {
protected:
    AccessibilityPermissionFlowTest() {
        d.world.setTrusted(false);
        QObject::connect(&flow, &AccessibilityPermissionFlow::promptingBrowserChanged,
                         [this] { ++notifications; });
    }
    test::SimulatedDesktop d;
    MemoryDefaultsStore defaults;
    AccessibilityPermissionFlow flow{d.tree, d.settings, defaults};
    int notifications = 0;
};

TEST_F(AccessibilityPermissionFlowTest, TrustedNeverPrompts) {
    d.world.setTrusted(true);
    flow.requestPrompt(kFirefox, "Firefox");
    EXPECT_FALSE(flow.promptingBrowser());
    EXPECT_EQ(notifications, 0);
}

TEST_F(AccessibilityPermissionFlowTest, OnePromptAtATimeAndRepeatsDoNotNotify) {
    flow.requestPrompt(kDuck, "DuckDuckGo");
    flow.requestPrompt(kFirefox, "Firefox");
    flow.requestPrompt(kDuck, "DuckDuckGo");
    EXPECT_EQ(flow.promptingBrowser(), (PromptingBrowser{kDuck, "DuckDuckGo"}));
    EXPECT_EQ(notifications, 1);
    flow.dismiss();
    EXPECT_FALSE(flow.promptingBrowser());
    flow.requestPrompt(kDuck, "DuckDuckGo"); // dismissing does not suppress
    EXPECT_TRUE(flow.promptingBrowser());
    EXPECT_EQ(notifications, 3);
    EXPECT_EQ(defaults.writeCount(), 0);
}

TEST_F(AccessibilityPermissionFlowTest, GrantOpensTheSettingsAndCloses) {
    flow.grant(); // idle: still opens nothing harmful, changes nothing
    EXPECT_EQ(notifications, 0);
    flow.requestPrompt(kFirefox, "Firefox");
    flow.grant();
    EXPECT_FALSE(flow.promptingBrowser());
    EXPECT_EQ(d.world.callCounts().settingsOpens, 2);
    EXPECT_EQ(notifications, 2);
}

TEST_F(AccessibilityPermissionFlowTest, AnAnswerStillBeingFoundOutWaitsAndAccessTurnedOnEndsThePrompt) {
    struct Case {
        const char* name;
        bool settledAtRequest;
        bool trustedThen; // what the tree learns next
        std::optional<PromptingBrowser> prompt;
    } cases[] = {
        {"found out untrusted: the first browser asked about", false, false,
         PromptingBrowser{kFirefox, "Firefox"}},
        {"found out trusted: nothing is asked", false, true, std::nullopt},
        {"turned on while the prompt shows: it closes", true, true, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        d.world.setTrusted(false);
        d.world.setTrustSettled(c.settledAtRequest);
        AccessibilityPermissionFlow f{d.tree, d.settings, defaults};
        f.requestPrompt(kFirefox, "Firefox");
        f.requestPrompt(kDuck, "DuckDuckGo");
        EXPECT_EQ(f.promptingBrowser().has_value(), c.settledAtRequest);
        d.world.setTrusted(c.trustedThen);
        d.world.setTrustSettled(true);
        EXPECT_EQ(f.promptingBrowser(), c.prompt);
    }
    d.world.setTrusted(true); // the flows have gone: none of them is told
}

TEST_F(AccessibilityPermissionFlowTest, SuppressStoresTheBrowserOnceAndOnlyItStaysQuiet) {
    flow.suppress(); // nothing prompting: nothing written
    EXPECT_EQ(defaults.writeCount(), 0);
    for (int i = 0; i < 3; ++i) {
        flow.requestPrompt(kFirefox, "Firefox");
        flow.suppress();
    }
    EXPECT_EQ(defaults.value(kKey), nlohmann::json::array({kFirefox}));
    EXPECT_EQ(defaults.writeCount(), 1); // later requests for Firefox never prompt, so never suppress
    flow.requestPrompt(kFirefox, "Firefox");
    EXPECT_FALSE(flow.promptingBrowser());
    flow.requestPrompt(kDuck, "DuckDuckGo");
    EXPECT_EQ(flow.promptingBrowser(), (PromptingBrowser{kDuck, "DuckDuckGo"}));
    flow.suppress();
    EXPECT_EQ(flow.suppressedBundleIds(), (std::set<std::string>{kFirefox, kDuck}));
}

TEST_F(AccessibilityPermissionFlowTest,
       ACorruptStoredValueCountsAsEmptyAndIsReplacedWholeOnlyAtTheNextSuppress) {
    const nlohmann::json corrupt[] = {nlohmann::json::array({kFirefox, 42}),
                                      nlohmann::json("org.mozilla.firefox"),
                                      nlohmann::json::object({{"a", 1}})};
    for (const auto& value : corrupt) {
        SCOPED_TRACE(value.dump());
        MemoryDefaultsStore store;
        store.plant(kKey, value);
        AccessibilityPermissionFlow f{d.tree, d.settings, store};
        EXPECT_TRUE(f.suppressedBundleIds().empty());
        f.requestPrompt(kFirefox, "Firefox"); // prompts again
        ASSERT_TRUE(f.promptingBrowser());
        f.dismiss();
        EXPECT_EQ(store.value(kKey), value); // left alone until a suppress
        f.requestPrompt(kDuck, "DuckDuckGo");
        f.suppress();
        EXPECT_EQ(store.value(kKey), nlohmann::json::array({kDuck}));
    }
}

} // namespace
} // namespace kivo
