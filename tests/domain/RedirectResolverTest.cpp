#include "domain/RedirectResolver.h"
#include "domain/BlockRuleGroup.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace kivo {
namespace {

const std::string kShield = "https://kivo.app/shield";

std::optional<Url> url(const char* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    auto parsed = Url::parse(text);
    EXPECT_TRUE(parsed.has_value()) << text;
    return parsed;
}

BlockRule rule(std::optional<Url> target, std::optional<bool> appends) {
    return BlockRule{Uuid::random(), "*example.com/*", true, RuleAction::block, std::move(target), appends};
}

BlockRuleGroup group(std::vector<BlockRule> rules, std::optional<Url> target, std::optional<bool> appends) {
    BlockRuleGroup g;
    g.id = Uuid::random();
    g.name = "group";
    g.isEnabled = true;
    g.rules = std::move(rules);
    g.redirectURL = std::move(target);
    g.appendsQueryParameters = appends;
    return g;
}

TEST(RedirectResolverTest, DefaultShieldPageIsKivosOwnHttpsPage) {
    EXPECT_EQ(RedirectResolver::defaultShieldURL().text(), kShield);
    EXPECT_EQ(&RedirectResolver::defaultShieldURL(), &RedirectResolver::defaultShieldURL());
    EXPECT_TRUE(RedirectResolver::isWebURL(RedirectResolver::defaultShieldURL()));
}

struct ResolveCase {
    std::string name;
    const char* ruleTarget;
    std::optional<bool> ruleAppends;
    const char* groupTarget;
    std::optional<bool> groupAppends;
    std::string expectedTarget;
    bool expectedAppends;
};

TEST(RedirectResolverTest, EachFieldFallsBackOnItsOwn) {
    const std::optional<bool> none;
    const std::vector<ResolveCase> cases = {
        {"nothing set", nullptr, none, nullptr, none, kShield, true},
        {"group says no", nullptr, none, nullptr, false, kShield, false},
        {"rule target", "https://r.org/", none, nullptr, none, "https://r.org/", false},
        {"rule target, group appends", "https://r.org/", none, nullptr, true, "https://r.org/", true},
        {"rule false beats group true", "https://r.org/", false, nullptr, true, "https://r.org/", false},
        {"rule true beats group false", "https://r.org/", true, nullptr, false, "https://r.org/", true},
        {"group target", nullptr, none, "https://g.org/", none, "https://g.org/", false},
        {"rule target beats group's", "https://r.org/", none, "https://g.org/", true, "https://r.org/", true},
        {"group target, rule flag", nullptr, true, "https://g.org/", false, "https://g.org/", true},
        {"shield text set by hand", "https://kivo.app/shield", none, nullptr, none, kShield, true},
        // A target that is no web page is passed over, never sent to a browser.
        {"rule target not web", "javascript:alert(1)", none, "https://g.org/", none, "https://g.org/", false},
        {"both not web", "file:///etc/passwd", none, "ftp://g.org/", none, kShield, true},
        {"relative target", "/shield", none, nullptr, none, kShield, true},
        {"mail target", "mailto:a@b.org", true, nullptr, none, kShield, true},
        {"capital scheme is web", "HTTPS://R.org/", none, nullptr, none, "HTTPS://R.org/", false},
    };
    for (const auto& c : cases) {
        const BlockRule r = rule(url(c.ruleTarget), c.ruleAppends);
        const ResolvedRedirect resolved =
            RedirectResolver::resolve(r, group({r}, url(c.groupTarget), c.groupAppends));
        EXPECT_EQ(resolved, ResolvedRedirect(*Url::parse(c.expectedTarget), c.expectedAppends)) << c.name;
    }
}

struct FinalCase {
    std::string target;
    bool appends;
    std::string visited;
    std::string expected;
};

TEST(RedirectResolverTest, FinalUrlCarriesTheVisitedUrlWhole) {
    const std::vector<FinalCase> cases = {
        {kShield, true, "https://example.com/a", kShield + "?blocked=https://example.com/a"},
        {kShield, false, "https://example.com/a", kShield},
        {"https://x.org/p?lang=ja", true, "https://e.com/", "https://x.org/p?lang=ja&blocked=https://e.com/"},
        {"https://x.org/p#top", true, "https://e.com/", "https://x.org/p#top?blocked=https://e.com/"},
        {"https://x.org/p#a?b", true, "e", "https://x.org/p#a?b&blocked=e"},
        {kShield, true, "https://e.com/?q=a b&c=d+e#f",
         kShield + "?blocked=https://e.com/?q%3Da%20b%26c%3Dd%2Be%23f"},
        {kShield, true, "https://e.com/100%", kShield + "?blocked=https://e.com/100%25"},
        {kShield, true, "https://e.com/caf\xC3\xA9", kShield + "?blocked=https://e.com/caf%C3%A9"},
        {kShield, true, "-._~!$'()*,;:@/?", kShield + "?blocked=-._~!$'()*,;:@/?"},
        {kShield, true, "\"<>[]\\^`{|}\t\n", kShield + "?blocked=%22%3C%3E%5B%5D%5C%5E%60%7B%7C%7D%09%0A"},
        {kShield, true, "", kShield + "?blocked="},
        {kShield, true, "https://e.com/\xFF", kShield + "?blocked="}, // not UTF-8: sent as empty
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolvedRedirect(*Url::parse(c.target), c.appends).finalURLString(c.visited), c.expected)
            << c.visited;
    }
}

TEST(RedirectResolverTest, PrefixesListEveryConfiguredTarget) {
    EXPECT_EQ(RedirectResolver::redirectPrefixes({}), std::vector<std::string>{kShield});

    const auto same = url("https://same.org/");
    BlockRuleGroup disabledGroup =
        group({rule(url("https://d.org/"), std::nullopt)}, std::nullopt, std::nullopt);
    disabledGroup.isEnabled = false;
    BlockRule disabledRule = rule(url("https://off.org/"), std::nullopt).withIsEnabled(false);
    const std::vector<BlockRuleGroup> groups = {
        group(
            {rule(same, std::nullopt), rule(std::nullopt, true), rule(same, false), rule(same, std::nullopt)},
            same, std::nullopt),
        disabledGroup,
        group({disabledRule}, std::nullopt, std::nullopt),
    };
    EXPECT_EQ(
        RedirectResolver::redirectPrefixes(groups),
        (std::vector<std::string>{kShield, "https://same.org/", "https://same.org/", "https://same.org/",
                                  "https://same.org/", "https://d.org/", "https://off.org/"}));
}

struct TargetCase {
    std::string url;
    bool isTarget;
};

TEST(RedirectResolverTest, RecognisesExactlyTheTargetForms) {
    const std::vector<std::string> prefixes = {kShield, "https://x.org/p?lang=ja"};
    const std::vector<TargetCase> cases = {
        {kShield, true},
        {kShield + "?blocked=https://e.com", true},
        {kShield + "?", true},
        {kShield + "/", false},
        {kShield + "#x", false},
        {kShield + "s", false},
        {kShield + "&blocked=x", false}, // "&" continues only a target that already holds "?"
        {"https://KIVO.app/shield", false},
        {"https://kivo.app/shiel", false},
        {"https://x.org/p?lang=ja", true},
        {"https://x.org/p?lang=ja&blocked=https://e.com", true},
        {"https://x.org/p?lang=jap", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RedirectResolver::isRedirectTarget(c.url, prefixes), c.isTarget) << c.url;
    }
    EXPECT_FALSE(RedirectResolver::isRedirectTarget(kShield, {}));
}

TEST(RedirectResolverTest, EveryResolvedTargetIsRecognisedOnceLoaded) {
    // Whatever the configuration and the visited URL, the tab the redirect leads to must be recognised,
    // or it would be redirected again on every pass.
    const std::vector<const char*> targets = {nullptr,
                                              "https://kivo.app/shield",
                                              "https://x.org",
                                              "https://x.org/",
                                              "https://x.org/p?a=1",
                                              "https://x.org/p?a=1&b=2",
                                              "https://x.org/p#frag",
                                              "https://x.org/p#f?g",
                                              "https://x.org/p?a#f",
                                              "http://x.org:8080/a/b?",
                                              "HTTPS://X.ORG/P?Q",
                                              "javascript:void(0)",
                                              "file:///tmp/x"};
    const std::vector<std::optional<bool>> flags = {std::nullopt, true, false};
    std::mt19937 random(99);
    auto visited = [&] {
        std::string s = "https://";
        for (int i = static_cast<int>(random() % 40); i > 0; --i) {
            s += static_cast<char>(random() % 256); // any byte, UTF-8 or not
        }
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        const BlockRule r = rule(url(targets[random() % targets.size()]), flags[random() % flags.size()]);
        const BlockRuleGroup g =
            group({r}, url(targets[random() % targets.size()]), flags[random() % flags.size()]);
        const ResolvedRedirect resolved = RedirectResolver::resolve(r, g);
        ASSERT_TRUE(RedirectResolver::isWebURL(resolved.url)) << resolved.url.text();
        const std::string loaded = resolved.finalURLString(visited());
        ASSERT_TRUE(RedirectResolver::isRedirectTarget(loaded, RedirectResolver::redirectPrefixes({g})))
            << "round " << round << ": " << loaded;
    }
}

struct WebCase {
    std::string url;
    bool isWeb;
};

TEST(RedirectResolverTest, WebUrlsAreHttpAndHttpsOnly) {
    const std::vector<WebCase> cases = {
        {"https://a.org", true}, {"http://a.org", true},  {"HtTpS://a.org", true}, {"ftp://a.org", false},
        {"file:///a", false},    {"javascript:x", false}, {"//a.org/x", false},    {"/shield", false},
        {"httpss://a", false},   {"about:blank", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RedirectResolver::isWebURL(*Url::parse(c.url)), c.isWeb) << c.url;
    }
}

} // namespace
} // namespace kivo
