#include "domain/DomainMatcher.h"
#include "domain/BlockRuleGroup.h"
#include "domain/Text.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace kivo {
namespace {

BlockRule rule(std::string pattern, RuleAction action = RuleAction::block, bool enabled = true) {
    return BlockRule{Uuid::random(), std::move(pattern), enabled, action, std::nullopt, std::nullopt};
}

BlockRule allow(std::string pattern) {
    return rule(std::move(pattern), RuleAction::allow);
}

BlockRule disabled(BlockRule r) {
    return r.withIsEnabled(false);
}

// The index of the deciding rule in `rules`, or -1 when the URL is let through.
int decidingIndex(std::string_view url, const std::vector<BlockRule>& rules) {
    const auto found = DomainMatcher::match(url, rules);
    if (!found) {
        return -1;
    }
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (rules[i].id == found->id) {
            return static_cast<int>(i);
        }
    }
    ADD_FAILURE() << "match returned a rule that is not in the list";
    return -2;
}

struct PatternCase {
    std::string pattern;
    std::string url;
    bool caught;
};

TEST(DomainMatcherTest, PatternsAgainstVisitedUrls) {
    const std::vector<PatternCase> cases = {
        {"*example.com/shorts/*", "https://m.example.com/shorts/abc", true},
        {"*example.com/shorts/*", "https://m.example.com/shorts", false},
        {"example.com", "example.com", true},
        {"example.com", "http://example.com", true},
        {"example.com", "HTTPS://EXAMPLE.COM?q=1", true},
        {"example.com", "https://example.com#top", true},
        {"example.com", "https://example.com/", false},
        {"example.com", "https://www.example.com", false},
        {"EXAMPLE.com/Watch", "https://example.com/watch?v=1", true}, // stored capitals match as lowercase
        {"example.com?x", "https://example.com?x", false},            // a normalised URL holds no "?"
        {"*#*", "https://example.com/#a", false},
        {"", "https://", true},
        {"", "http://?q=1", true},
        {"", "https://x", false},
        {"*", "about:blank", true},
        {"*", "", true},
        {"*.example.org", "https://news.example.org", true},
        {"*.example.org", "https://news.example.org/", false},
        {"www.example.org/*", "http://www.example.org/a/b?c#d", true},
        {"*caf\xC3\xA9*", "https://x.fr/cafe\xCC\x81/menu", true}, // canonical equivalence
        {"*\xC3\x89"
         "cole.fr/*",
         "https://\xC3\xA9"
         "cole.fr/a",
         true}, // lowercased both sides
        {"*\xE6\x97\xA5\xE6\x9C\xAC*", "https://x.jp/\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", true},
        {"*e", "https://x.fr/cafe\xCC\x81", false}, // the accent is part of the last character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DomainMatcher::match(c.url, {rule(c.pattern)}).has_value(), c.caught)
            << "pattern '" << c.pattern << "' url '" << c.url << "'";
    }
}

struct DecisionCase {
    std::string name;
    std::vector<BlockRule> rules;
    std::string url;
    int deciding; // index into rules, -1 for none
};

TEST(DomainMatcherTest, AllowRulesBeatBlockRulesAndTheFirstBlockRuleWins) {
    const std::string url = "https://www.example.com/watch?v=1";
    const std::vector<DecisionCase> cases = {
        {"allow after block", {rule("*example.com/*"), allow("*example.com/watch")}, url, -1},
        {"allow before block", {allow("*example.com/watch"), rule("*example.com/*")}, url, -1},
        {"disabled allow", {rule("*example.com/*"), disabled(allow("*example.com/watch"))}, url, 0},
        {"allow not matching", {allow("*other.com/*"), rule("*example.com/*")}, url, 1},
        {"two blocks", {rule("*example*"), rule("*example.com/*")}, url, 0},
        {"first block disabled", {disabled(rule("*example*")), rule("*example.com/*")}, url, 1},
        {"empty list", {}, url, -1},
        {"only disabled rules", {disabled(rule("*")), disabled(rule("*example*"))}, url, -1},
        {"allow everything", {rule("*"), allow("*")}, "about:blank", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decidingIndex(c.url, c.rules), c.deciding) << c.name;
    }
}

TEST(DomainMatcherTest, CompiledRulesGiveTheDefinitionsAnswer) {
    // The compiled form must decide exactly as the definition does: allow pass, then block pass, each
    // pattern lowercased and globbed against the normalised URL.
    const std::vector<std::string> pieces = {
        "a",        "B",         "*",        "*",        ".",        "/",       "?",    "#",
        "\xC3\xA9", "E\xCC\x81", "\xC3\x89", "\xCC\x81", "https://", "http://", "\xFF", "\r\n"};
    std::mt19937 random(777);
    auto text = [&](int maxPieces) {
        std::string s;
        for (int i = static_cast<int>(random() % maxPieces); i > 0; --i) {
            s += pieces[random() % pieces.size()];
        }
        return s;
    };
    int caught = 0;
    int allowedCount = 0;
    for (int round = 0; round < 5000; ++round) {
        std::vector<BlockRule> rules;
        for (int i = static_cast<int>(random() % 5); i > 0; --i) {
            BlockRule r = rule(text(6), random() % 3 == 0 ? RuleAction::allow : RuleAction::block);
            rules.push_back(random() % 5 == 0 ? disabled(r) : r);
        }
        std::string url = text(9);
        if (!rules.empty() && random() % 2 == 0) {
            // Build the URL from a rule's pattern so that a good share of rounds is caught.
            url = random() % 2 ? "https://" : "";
            for (const char ch : rules[random() % rules.size()].pattern) {
                url += ch == '*' ? text(3) : std::string(1, ch);
            }
            url += random() % 2 ? "?q" : "";
        }
        const std::string normalized = DomainMatcher::normalize(url);
        std::optional<BlockRule> expected;
        bool allowed = false;
        for (const auto& r : rules) {
            if (r.isEnabled && r.action == RuleAction::allow &&
                DomainMatcher::glob(Text::lowercased(r.pattern), normalized)) {
                allowed = true;
            }
        }
        for (const auto& r : rules) {
            if (!allowed && !expected && r.isEnabled && r.action == RuleAction::block &&
                DomainMatcher::glob(Text::lowercased(r.pattern), normalized)) {
                expected = r;
            }
        }
        caught += expected ? 1 : 0;
        allowedCount += allowed ? 1 : 0;
        const auto compiled = DomainMatcher::compile(rules);
        ASSERT_EQ(DomainMatcher::match(url, compiled), expected)
            << "round " << round << " url '" << url << "'";
        ASSERT_EQ(DomainMatcher::match(url, rules), expected) << "round " << round;
    }
    EXPECT_GT(caught, 500);
    EXPECT_GT(allowedCount, 200);
}

TEST(DomainMatcherTest, HostileUrlsAreData) {
    const std::vector<BlockRule> rules = {rule("example.com"), rule("*evil*"), allow("*trusted.org/*")};
    const std::vector<std::string> urls = {
        std::string("https://example.com\0/x", 22),
        "javascript:alert(document.cookie)//evil",
        "https://example.com/%00%2e%2e/../../etc/passwd",
        "\xFF\xFE\xFD",
        "https://\xC0\xAF\xE0\x80\xAF",
        std::string(100000, '*'),
        "https://" + std::string(50000, 'a') + "evil",
        "data:text/html,<script>alert(1)</script>",
        "https://trusted.org/evil",
        "\r\n\t\v",
    };
    const std::vector<int> expected = {-1, 1, -1, -1, -1, -1, 1, -1, -1, -1};
    for (std::size_t i = 0; i < urls.size(); ++i) {
        EXPECT_EQ(decidingIndex(urls[i], rules), expected[i]) << "url " << i;
    }
    // A pattern is data too: regular-expression or shell syntax means nothing special.
    EXPECT_FALSE(DomainMatcher::match("https://example.com", {rule("(.*)")}).has_value());
    EXPECT_FALSE(DomainMatcher::match("https://example.com", {rule("ex[a-z]mple.com")}).has_value());
    EXPECT_TRUE(DomainMatcher::match("https://ex[a-z]mple.com", {rule("ex[a-z]mple.com")}).has_value());
}

TEST(DomainMatcherTest, CompiledRulesKeepTheirRulesAndKnowWhenNothingCanMatch) {
    const std::vector<BlockRule> rules = {disabled(rule("*")), rule("a.com")};
    const auto compiled = DomainMatcher::compile(rules);
    EXPECT_EQ(compiled.rules(), rules);
    EXPECT_FALSE(compiled.isEmpty());
    EXPECT_TRUE(DomainMatcher::compile({disabled(rule("*"))}).isEmpty());
    EXPECT_TRUE(CompiledRules().isEmpty());
    EXPECT_EQ(CompiledRules().match("https://a.com"), nullptr);
}

BlockRuleGroup group(std::vector<BlockRule> rules, BlockSchedule schedule = BlockSchedule::always(),
                     bool enabled = true) {
    BlockRuleGroup g;
    g.id = Uuid::random();
    g.name = "group";
    g.isEnabled = enabled;
    g.rules = std::move(rules);
    g.schedule = std::move(schedule);
    return g;
}

BlockSchedule recurring(DaySet days, std::vector<TimeWindow> windows) {
    return BlockSchedule::recurring(RecurringSchedule{std::move(days), std::move(windows)});
}

constexpr int kSunday = 1;
constexpr int kMonday = 2;
constexpr int kTuesday = 3;

struct WindowCase {
    std::int64_t start;
    std::int64_t end;
    int weekday;
    std::int64_t minute;
    bool active;
};

TEST(DomainMatcherTest, ActiveRulesFollowTheSchedule) {
    const DaySet everyDay(allDaysOfWeek().begin(), allDaysOfWeek().end());
    const std::vector<WindowCase> cases = {
        {540, 1020, kMonday, 8 * 60 + 59, false},  {540, 1020, kMonday, 9 * 60, true},
        {540, 1020, kMonday, 16 * 60 + 59, true},  {540, 1020, kMonday, 17 * 60, false},
        {1320, 360, kMonday, 21 * 60 + 59, false}, {1320, 360, kMonday, 22 * 60, true},
        {1320, 360, kMonday, 23 * 60 + 30, true},  {1320, 360, kMonday, 5 * 60 + 59, true},
        {1320, 360, kMonday, 6 * 60, false},       {600, 600, kSunday, 0, true},
        {600, 600, kSunday, 1439, true},
    };
    for (const auto& c : cases) {
        const auto groups = std::vector{group({rule("a.com")}, recurring(everyDay, {{c.start, c.end}}))};
        EXPECT_EQ(DomainMatcher::activeRules(groups, c.weekday, c.minute).size(), c.active ? 1u : 0u)
            << c.start << "-" << c.end << " at " << c.minute;
    }
    const auto mondayNights =
        std::vector{group({rule("a.com")}, recurring({DayOfWeek::monday}, {{1320, 360}}))};
    EXPECT_EQ(DomainMatcher::activeRules(mondayNights, kMonday, 60).size(), 1u);
    EXPECT_EQ(DomainMatcher::activeRules(mondayNights, kMonday, 23 * 60).size(), 1u);
    EXPECT_EQ(DomainMatcher::activeRules(mondayNights, kTuesday, 60).size(), 0u) << "nothing carries over";

    const auto noDays = std::vector{group({rule("a.com")}, recurring({}, {{0, 0}}))};
    const auto noWindows = std::vector{group({rule("a.com")}, recurring(everyDay, {}))};
    for (int minute : {0, 720, 1439}) {
        EXPECT_TRUE(DomainMatcher::activeRules(noDays, kMonday, minute).empty());
        EXPECT_TRUE(DomainMatcher::activeRules(noWindows, kMonday, minute).empty());
    }
}

TEST(DomainMatcherTest, ActiveRulesKeepEnabledRulesOfEnabledGroupsInOrder) {
    const BlockRule a = rule("a.com");
    const BlockRule b = disabled(rule("b.com"));
    const BlockRule c = allow("c.com");
    const BlockRule d = rule("d.com");
    const BlockRule e = rule("e.com");
    const std::vector<BlockRuleGroup> groups = {
        group({a, b, c}),
        group({d}, BlockSchedule::always(), false), // a disabled group gives nothing, even always on
        group({e}, recurring({DayOfWeek::tuesday}, {{0, 0}})),
    };
    EXPECT_EQ(DomainMatcher::activeRules(groups, kMonday, 600), (std::vector{a, c}));
    EXPECT_EQ(DomainMatcher::activeRules(groups, kTuesday, 600), (std::vector{a, c, e}));
    for (int weekday : {0, 8, -1, 1000}) {
        EXPECT_TRUE(DomainMatcher::activeRules(groups, weekday, 600).empty()) << weekday;
    }
    EXPECT_TRUE(DomainMatcher::activeRules({}, kMonday, 600).empty());
}

} // namespace
} // namespace kivo
