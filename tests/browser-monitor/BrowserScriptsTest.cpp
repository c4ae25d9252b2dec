#include "browser-monitor/BrowserScripts.h"
#include "SimulatedDesktop.h"
#include "browser-monitor/AutomationPermissionProbe.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

const char* kChromeTabURLs = "with timeout of 4 seconds\n"
                             "    tell application id \"com.google.Chrome\"\n"
                             "        set urlList to {}\n"
                             "        if (count of windows) > 0 then\n"
                             "            repeat with w in windows\n"
                             "                try\n"
                             "                    set tabURL to URL of active tab of w\n"
                             "                    if tabURL is not missing value then\n"
                             "                        set end of urlList to tabURL\n"
                             "                    end if\n"
                             "                end try\n"
                             "            end repeat\n"
                             "        end if\n"
                             "        set AppleScript's text item delimiters to \"\\n\"\n"
                             "        return urlList as text\n"
                             "    end tell\n"
                             "end timeout";

const char* kSafariRedirect = "on redirectTab(oldUrl, newUrl)\n"
                              "    with timeout of 4 seconds\n"
                              "        tell application id \"com.apple.Safari\"\n"
                              "            if (count of windows) > 0 then\n"
                              "                repeat with w in windows\n"
                              "                    try\n"
                              "                        if URL of current tab of w is oldUrl then\n"
                              "                            set URL of current tab of w to newUrl\n"
                              "                        end if\n"
                              "                    end try\n"
                              "                end repeat\n"
                              "            end if\n"
                              "        end tell\n"
                              "    end timeout\n"
                              "end redirectTab";

TEST(BrowserScriptsTest, SourcesAreExactForBothEngines) {
    EXPECT_EQ(BrowserScripts::makeTabURLsScriptSource("com.google.Chrome", BrowserEngine::chromium),
              kChromeTabURLs);
    EXPECT_EQ(BrowserScripts::makeRedirectScriptSource("com.apple.Safari", BrowserEngine::safari),
              kSafariRedirect);

    const auto safariTabs =
        BrowserScripts::makeTabURLsScriptSource("com.apple.Safari", BrowserEngine::safari);
    ASSERT_TRUE(safariTabs);
    EXPECT_NE(safariTabs->find("\n                    set tabURL to URL of current tab of w\n"),
              std::string::npos);
    EXPECT_NE(safariTabs->back(), '\n');
    const auto chromeRedirect =
        BrowserScripts::makeRedirectScriptSource("com.google.Chrome", BrowserEngine::chromium);
    ASSERT_TRUE(chromeRedirect);
    EXPECT_NE(chromeRedirect->find("\n                        if URL of active tab of w is oldUrl then\n"
                                   "                            set URL of active tab of w to newUrl\n"),
              std::string::npos);
}

TEST(BrowserScriptsTest, LongestTableIdentifierIsInsertedWhole) {
    const std::string id = "ru.yandex.desktop.yandex-browser";
    ASSERT_EQ(id.size(), 32u);
    for (auto source : {BrowserScripts::makeTabURLsScriptSource(id, BrowserEngine::chromium),
                        BrowserScripts::makeRedirectScriptSource(id, BrowserEngine::chromium)}) {
        ASSERT_TRUE(source);
        EXPECT_NE(source->find("tell application id \"" + id + "\"\n"), std::string::npos);
    }
}

TEST(BrowserScriptsTest, IdentifiersThatCouldChangeTheScriptAreRefused) {
    const char* refused[] = {
        "",           "com.evil\" to quit", "com.evil\"\nend tell\ndo shell script \"rm -rf ~\"",
        "com.evil\\", "com evil",           "com.évil",
        "com.evil;x"};
    for (const char* id : refused) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(BrowserScripts::makeTabURLsScriptSource(id, BrowserEngine::safari));
        EXPECT_FALSE(BrowserScripts::makeRedirectScriptSource(id, BrowserEngine::chromium));
    }
    EXPECT_TRUE(BrowserScripts::makeTabURLsScriptSource("org.example.Browser-2", BrowserEngine::safari));
}

TEST(BrowserScriptsTest, RedirectEventCarriesBothURLsAsParametersInOrder) {
    const std::string hostile = "https://x.test/\"end tell\\\n\"";
    const auto event = BrowserScripts::makeRedirectEvent(hostile, "https://shield.test/shield?blocked=x");
    EXPECT_EQ(event.eventClass, "ascr");
    EXPECT_EQ(event.eventId, "psbr");
    EXPECT_EQ(event.returnId, -1);
    EXPECT_EQ(event.transactionId, 0);
    EXPECT_EQ(event.subroutineName, "redirectTab");
    EXPECT_EQ(event.directObject,
              (std::vector<std::string>{hostile, "https://shield.test/shield?blocked=x"}));
}

TEST(SimulatedScriptHostTest, CompilesOnlyTheBuildersSources) {
    test::SimulatedDesktop d;
    const auto tabs = BrowserScripts::makeTabURLsScriptSource("com.google.Chrome", BrowserEngine::chromium);
    EXPECT_TRUE(d.scriptHost.compile(*tabs).script);
    const char* others[] = {"", "tell application id \"com.google.Chrome\" to quit", "return 1"};
    for (const char* source : others) {
        const auto result = d.scriptHost.compile(source);
        EXPECT_FALSE(result.script);
        EXPECT_FALSE(result.errorMessage.empty());
    }
    EXPECT_FALSE(d.scriptHost.compile(*tabs + "\n").script);
}

TEST(AutomationPermissionProbeTest, ProbeAnswers) {
    test::SimulatedDesktop d;
    using S = BrowserPermissionState;
    using C = SimulatedBrowserWorld::Consent;
    // Not running: unknown whatever was decided.
    d.world.setConsent("com.google.Chrome", C::granted);
    EXPECT_EQ(AutomationPermissionProbe::permissionState(d.workspace, d.consent, "com.google.Chrome"),
              S::unknown);
    EXPECT_EQ(d.world.callCounts().consentQueries, 0);

    d.world.addBrowser("com.google.Chrome", {});
    d.world.addBrowser("com.apple.Safari", {});
    d.world.addBrowser("com.brave.Browser", {});
    d.world.setConsent("com.apple.Safari", C::denied);
    EXPECT_EQ(AutomationPermissionProbe::permissionState(d.workspace, d.consent, "com.google.Chrome"),
              S::granted);
    EXPECT_EQ(AutomationPermissionProbe::permissionState(d.workspace, d.consent, "com.apple.Safari"),
              S::denied);
    // Never asked: the consent query says consent would be needed.
    EXPECT_EQ(AutomationPermissionProbe::permissionState(d.workspace, d.consent, "com.brave.Browser"),
              S::unknown);
    d.world.setConsentStatus("com.brave.Browser", -600);
    EXPECT_EQ(AutomationPermissionProbe::permissionState(d.workspace, d.consent, "com.brave.Browser"),
              S::unknown);
}

} // namespace
} // namespace kivo
