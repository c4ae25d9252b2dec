#include "browser-monitor/SupportedBrowsers.h"
#include "browser-monitor/BrowserPermissionState.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kivo {
namespace {

TEST(SupportedBrowsersTest, TheTableRowByRow) {
    using E = BrowserEngine;
    using A = BrowserURLAccess;
    const std::vector<BrowserDescriptor> expected{
        {"com.apple.Safari", "Safari", E::safari, A::appleScript},
        {"com.google.Chrome", "Chrome", E::chromium, A::appleScript},
        {"company.thebrowser.Browser", "Arc", E::chromium, A::appleScript},
        {"com.brave.Browser", "Brave", E::chromium, A::appleScript},
        {"com.microsoft.edgemac", "Edge", E::chromium, A::appleScript},
        {"com.operasoftware.Opera", "Opera", E::chromium, A::appleScript},
        {"com.vivaldi.Vivaldi", "Vivaldi", E::chromium, A::appleScript},
        {"com.naver.Whale", "Naver Whale", E::chromium, A::appleScript},
        {"ru.yandex.desktop.yandex-browser", "Yandex", E::chromium, A::appleScript},
        {"com.duckduckgo.macos.browser", "DuckDuckGo", E::safari, A::accessibility},
        {"org.mozilla.firefox", "Firefox", E::safari, A::accessibility},
    };
    EXPECT_EQ(SupportedBrowsers::all(), expected);
    for (const auto& row : expected) {
        EXPECT_EQ(SupportedBrowsers::descriptor(row.bundleId), row);
    }
}

TEST(SupportedBrowsersTest, TableHasElevenRowsNineScriptable) {
    const auto& all = SupportedBrowsers::all();
    ASSERT_EQ(all.size(), 11u);
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const auto& r) { return r.access == BrowserURLAccess::appleScript; }),
              9);
    EXPECT_EQ(all.front().bundleId, "com.apple.Safari");
    EXPECT_EQ(all.back().bundleId, "org.mozilla.firefox");
    EXPECT_EQ(SupportedBrowsers::bundleIds().size(), 11u);
}

TEST(SupportedBrowsersTest, LookupIsExact) {
    struct Case {
        const char* id;
        bool supported;
    } cases[] = {{"com.apple.Safari", true},  {"com.apple.safari", false},   {"", false},
                 {"com.google.Chrome", true}, {"com.google.Chrome ", false}, {"org.gnome.TextEditor", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(SupportedBrowsers::isSupported(c.id), c.supported);
        EXPECT_EQ(SupportedBrowsers::descriptor(c.id).has_value(), c.supported);
        EXPECT_EQ(BrowserDescriptor::fromBundleId(c.id), SupportedBrowsers::descriptor(c.id));
    }
    const auto firefox = SupportedBrowsers::descriptor("org.mozilla.firefox");
    ASSERT_TRUE(firefox);
    EXPECT_EQ(*firefox, (BrowserDescriptor{"org.mozilla.firefox", "Firefox", BrowserEngine::safari,
                                           BrowserURLAccess::accessibility}));
}

TEST(BrowserPermissionStateTest, MergeKeepsWhatWasLearntAgainstAnUnknownProbe) {
    using S = BrowserPermissionState;
    using O = std::optional<S>;
    struct Case {
        O stored;
        S fresh;
        O expected;
    } cases[] = {
        {std::nullopt, S::unknown, S(S::unknown)}, {std::nullopt, S::granted, S(S::granted)},
        {S(S::granted), S::unknown, std::nullopt}, {S(S::denied), S::unknown, std::nullopt},
        {S(S::granted), S::denied, S(S::denied)},  {S(S::denied), S::granted, S(S::granted)},
        {S(S::unknown), S::unknown, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto merged = S::merge(c.stored, c.fresh);
        ASSERT_EQ(merged.has_value(), c.expected.has_value());
        if (merged) {
            EXPECT_EQ(merged->value(), c.expected->value());
        }
    }
}

TEST(BrowserPermissionStateTest, ScriptErrorCodes) {
    using S = BrowserPermissionState;
    EXPECT_EQ(S::fromScriptErrorCode(std::nullopt)->value(), S::granted);
    EXPECT_EQ(S::fromScriptErrorCode(-1743)->value(), S::denied);
    EXPECT_FALSE(S::fromScriptErrorCode(-1).has_value());
    EXPECT_FALSE(S::fromScriptErrorCode(0).has_value());
    EXPECT_FALSE(S::fromScriptErrorCode(-1728).has_value());
}

} // namespace
} // namespace kivo
