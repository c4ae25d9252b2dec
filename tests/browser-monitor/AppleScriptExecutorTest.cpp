#include "SimulatedDesktop.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace std::chrono_literals;

namespace kivo {
namespace {

class AppleScriptExecutorTest : public ::testing::Test {
protected:
    test::SimulatedDesktop d;
    BrowserWorkerPool pool{d.clock};
    std::map<std::string, BrowserPermissionState> states;
    AppleScriptExecutor executor{d.scriptHost, pool,
                                 [this](const std::string& id, BrowserPermissionState s) { states[id] = s; }};

    std::optional<std::optional<std::vector<std::string>>> read(const std::string& id, BrowserEngine engine) {
        std::optional<std::optional<std::vector<std::string>>> got;
        executor.readTabURLs(id, engine, [&](auto urls) { got = std::move(urls); });
        EXPECT_TRUE(test::waitUntil([&] { return got.has_value(); }));
        return got;
    }
};

TEST(AppleScriptOutputTest, SplitsAtLineFeedsDroppingEmptyPieces) {
    using V = std::vector<std::string>;
    struct Case {
        std::optional<std::string> output;
        std::optional<V> urls;
    } cases[] = {
        {std::nullopt, std::nullopt},
        {"", std::nullopt},
        {"\n\n\n", std::nullopt},
        {"a.test", V{"a.test"}},
        {"a.test\n\nb.test\n", V{"a.test", "b.test"}},
        {"a.test\na.test", V{"a.test", "a.test"}},
        {" a.test \n", V{" a.test "}}, // no other trimming
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AppleScriptExecutor::splitTabURLs(c.output), c.urls);
    }
}

TEST_F(AppleScriptExecutorTest, ReadsFrontTabsAndCompilesOnce) {
    d.world.addBrowser("com.google.Chrome", {"https://a.test/", std::nullopt, "https://b.test/x"});
    auto got = read("com.google.Chrome", BrowserEngine::chromium);
    ASSERT_TRUE(got && *got);
    EXPECT_EQ(**got, (std::vector<std::string>{"https://a.test/", "https://b.test/x"}));
    EXPECT_EQ(states["com.google.Chrome"], BrowserPermissionState::granted);
    read("com.google.Chrome", BrowserEngine::chromium);
    EXPECT_EQ(d.world.callCounts().compiles, 1);
    EXPECT_EQ(d.world.callCounts().scriptRuns, 2);
}

TEST_F(AppleScriptExecutorTest, AScriptForTheWrongEngineDoesNotCompileAndIsRetriedAndLoggedEachTime) {
    d.world.addBrowser("com.google.Chrome", {"https://a.test/"});
    test::LogCapture log;
    // Safari's dialect for a chromium browser is not a source the browser understands.
    EXPECT_FALSE(*read("com.google.Chrome", BrowserEngine::safari));
    EXPECT_FALSE(*read("com.google.Chrome", BrowserEngine::safari));
    EXPECT_EQ(log.count("AppleScript compile failed for getTabURLs com.google.Chrome"), 2);
    EXPECT_EQ(d.world.callCounts().scriptRuns, 0);
    EXPECT_TRUE(executor.compiledScripts().empty());
    EXPECT_TRUE(states.empty());

    d.world.setCompileFails("com.google.Chrome", true);
    EXPECT_FALSE(*read("com.google.Chrome", BrowserEngine::chromium));
    d.world.setCompileFails("com.google.Chrome", false);
    EXPECT_TRUE(*read("com.google.Chrome", BrowserEngine::chromium));
    EXPECT_EQ(log.count("AppleScript compile failed"), 3);
}

TEST_F(AppleScriptExecutorTest, PermissionIsLearntFromEveryRun) {
    d.world.addBrowser("com.apple.Safari", {"https://a.test/"});
    test::LogCapture log;
    d.world.setConsent("com.apple.Safari", SimulatedBrowserWorld::Consent::denied);
    EXPECT_FALSE(*read("com.apple.Safari", BrowserEngine::safari));
    EXPECT_EQ(states["com.apple.Safari"], BrowserPermissionState::denied);
    EXPECT_TRUE(log.contains("AppleScript getTabURLs failed for com.apple.Safari: code=-1743"));

    d.world.setConsent("com.apple.Safari", SimulatedBrowserWorld::Consent::granted);
    EXPECT_TRUE(*read("com.apple.Safari", BrowserEngine::safari));
    EXPECT_EQ(states["com.apple.Safari"], BrowserPermissionState::granted);

    // Another error says nothing about the permission.
    d.world.failNextScriptRuns("com.apple.Safari", 1, -1728, std::nullopt);
    EXPECT_FALSE(*read("com.apple.Safari", BrowserEngine::safari));
    EXPECT_EQ(states["com.apple.Safari"], BrowserPermissionState::granted);
    EXPECT_TRUE(log.contains("code=-1728 msg="));

    // A run whose result has no text is still a success.
    d.world.setScriptOutput("com.apple.Safari", std::nullopt);
    states.clear();
    EXPECT_FALSE(*read("com.apple.Safari", BrowserEngine::safari));
    EXPECT_EQ(states["com.apple.Safari"], BrowserPermissionState::granted);
}

TEST_F(AppleScriptExecutorTest, AHungScriptTimesOutAtTheDeadlineAndTheBrowserIsSkippedUntilItReturns) {
    d.world.addBrowser("com.google.Chrome", {"https://a.test/"});
    d.world.setHanging("com.google.Chrome", true);
    test::LogCapture log;
    std::optional<std::optional<std::vector<std::string>>> got;
    executor.readTabURLs("com.google.Chrome", BrowserEngine::chromium,
                         [&](auto urls) { got = std::move(urls); });
    ASSERT_TRUE(test::waitUntil([&] { return d.world.callsInFlight() == 1; }));
    d.clock.advance(4999ms);
    test::processEvents();
    EXPECT_FALSE(got.has_value());
    d.clock.advance(1ms);
    ASSERT_TRUE(got.has_value()); // at the deadline, not when the script returns
    EXPECT_FALSE(*got);
    EXPECT_TRUE(log.contains("AppleScript getTabURLs failed for com.google.Chrome: code=-1 msg=timeout"));
    EXPECT_TRUE(states.empty());

    // Still stuck: the next read queues nothing behind it.
    std::optional<AppleScriptResult> second;
    executor.executeCompiledScript("com.google.Chrome",
                                   executor.tabURLsScript("com.google.Chrome", BrowserEngine::chromium),
                                   std::nullopt, 5s, [&](AppleScriptResult r) { second = r; });
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, AppleScriptResult::timeout());
    EXPECT_EQ(d.world.callCounts().scriptRuns, 1);

    d.world.setHanging("com.google.Chrome", false);
    ASSERT_TRUE(test::waitUntil([&] { return !pool.isStuck("com.google.Chrome"); }));
    test::processEvents();
    EXPECT_TRUE(states.empty()); // the late success is dropped
    EXPECT_TRUE(*read("com.google.Chrome", BrowserEngine::chromium));
}

TEST_F(AppleScriptExecutorTest, RunsAreSerialPerBrowserAndParallelAcrossBrowsers) {
    d.world.addBrowser("com.google.Chrome", {"https://a.test/"});
    d.world.addBrowser("com.brave.Browser", {"https://b.test/"});
    d.world.setLatency("com.google.Chrome", 40ms);
    d.world.setLatency("com.brave.Browser", 40ms);
    int done = 0;
    for (int i = 0; i < 3; ++i) {
        executor.readTabURLs("com.google.Chrome", BrowserEngine::chromium, [&](auto) { ++done; });
        executor.redirectViaAppleScript("com.google.Chrome", BrowserEngine::chromium, "https://a.test/",
                                        "https://c.test/", [&] { ++done; });
        executor.readTabURLs("com.brave.Browser", BrowserEngine::chromium, [&](auto) { ++done; });
    }
    ASSERT_TRUE(test::waitUntil([&] { return done == 9; }));
    EXPECT_EQ(d.world.callCounts().scriptRuns, 9);
    EXPECT_EQ(d.world.maxConcurrentRuns("com.google.Chrome"), 1);
    EXPECT_EQ(d.world.maxConcurrentRuns("com.brave.Browser"), 1);
    EXPECT_EQ(d.world.maxConcurrentRunsOverall(), 2);
}

TEST_F(AppleScriptExecutorTest, RedirectEventChangesEveryWindowShowingTheOldURL) {
    d.world.addBrowser("com.apple.Safari", {"https://a.test/", "https://b.test/", "https://a.test/"});
    const std::string hostile = "https://x.test/?q=\"end tell\\\ndo shell script \"echo\"";
    bool done = false;
    executor.redirectViaAppleScript("com.apple.Safari", BrowserEngine::safari, "https://a.test/", hostile,
                                    [&] { done = true; });
    ASSERT_TRUE(test::waitUntil([&] { return done; }));
    using W = std::vector<std::optional<std::string>>;
    EXPECT_EQ(d.world.windowURLs("com.apple.Safari"), (W{hostile, "https://b.test/", hostile}));
    EXPECT_EQ(states["com.apple.Safari"], BrowserPermissionState::granted);
}

} // namespace
} // namespace kivo
