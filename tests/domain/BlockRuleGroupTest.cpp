#include "domain/BlockRuleGroup.h"
#include "TestJson.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace kivo {
namespace {

using test::json;

BlockRule rule(std::string pattern) {
    return BlockRule{Uuid::random(), std::move(pattern), true, RuleAction::block, std::nullopt, std::nullopt};
}

BlockRuleGroup group(std::vector<BlockRule> rules) {
    return BlockRuleGroup{Uuid::random(),          "Focus",      true,
                          std::move(rules),        false,        BlockSchedule::always(),
                          UnlockPolicy::instant(), std::nullopt, std::nullopt};
}

TEST(BlockRuleGroupTest, RuleActionRawValues) {
    EXPECT_EQ(ruleActionFromRawValue("block"), RuleAction::block);
    EXPECT_EQ(ruleActionFromRawValue("allow"), RuleAction::allow);
    EXPECT_FALSE(ruleActionFromRawValue("Block"));
    EXPECT_FALSE(ruleActionFromRawValue(""));
    EXPECT_EQ(rawValue(RuleAction::allow), "allow");
}

TEST(BlockRuleGroupTest, EveryOptionalStateRoundTrips) {
    const std::vector<std::optional<bool>> appends = {std::nullopt, true, false};
    const std::vector<std::optional<Url>> targets = {
        std::nullopt, Url::parse("https://example.org/stop?x=1#f"), Url::parse("HTTP://[::1]:8080/")};
    std::vector<BlockRuleGroup> groups;
    for (const auto& append : appends) {
        for (const auto& target : targets) {
            std::vector<BlockRule> rules = {
                rule("*example.com/*").withRedirectURL(target).withAppendsQueryParameters(append),
                rule("\xE6\x97\xA5\xE6\x9C\xAC.jp").withAction(RuleAction::allow).withIsEnabled(false),
            };
            groups.push_back(
                group(rules)
                    .withRedirectURL(target)
                    .withAppendsQueryParameters(append)
                    .withSchedule(BlockSchedule::recurring({{DayOfWeek::friday}, {{1, 2}}}))
                    .withUnlockPolicy(UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(2))));
        }
    }
    groups.push_back(group({}).withName(""));
    groups.push_back(BlockRuleGroup::makeDefault("Blocklist").front());
    for (const auto& g : groups) {
        const auto back = test::throughText(g);
        ASSERT_TRUE(back.ok()) << back.error();
        EXPECT_EQ(back.value(), g);
    }
    const auto list = test::throughText(groups);
    ASSERT_TRUE(list.ok());
    EXPECT_EQ(list.value(), groups);
}

TEST(BlockRuleGroupTest, AbsentOptionalsAreNotWrittenAndNullReadsAsAbsent) {
    const auto stored = BlockRule::fromJson(json(R"({"id":"0f8fad5b-d9cb-469f-a165-70867728950e",
        "pattern":"*a.com/*","isEnabled":true,"action":"block","redirectURL":null,"unknown":[1,2]})"));
    ASSERT_TRUE(stored.ok()) << stored.error();
    EXPECT_FALSE(stored.value().redirectURL);
    EXPECT_FALSE(stored.value().appendsQueryParameters);
    const auto written = stored.value().toJson();
    EXPECT_FALSE(written.contains("redirectURL"));
    EXPECT_FALSE(written.contains("appendsQueryParameters"));
    EXPECT_EQ(written["id"], "0F8FAD5B-D9CB-469F-A165-70867728950E");
}

TEST(BlockRuleGroupTest, StoredFormUsesTheDocumentedKeys) {
    // Written as another program (or an older Kivo) would store it: every key of both objects.
    const Json::Value stored = json(R"({
        "id": "6F9619FF-8B86-D011-B42D-00C04FC964FF",
        "name": "Work",
        "isEnabled": true,
        "rules": [{"id": "0F8FAD5B-D9CB-469F-A165-70867728950E", "pattern": "*example.com/*",
                   "isEnabled": false, "action": "allow", "redirectURL": "https://stop.example/r",
                   "appendsQueryParameters": false}],
        "isDefault": false,
        "schedule": {"recurring": {"_0": {"daysOfWeek": [2, 6], "timeWindows": [
            {"startMinute": 540, "endMinute": 1020}]}}},
        "unlockPolicy": {"waitToUnlock": {"seconds": 30}},
        "redirectURL": "https://stop.example/g",
        "appendsQueryParameters": true
    })");
    const BlockRuleGroup expected{
        *Uuid::parse("6f9619ff-8b86-d011-b42d-00c04fc964ff"),
        "Work",
        true,
        {BlockRule{*Uuid::parse("0f8fad5b-d9cb-469f-a165-70867728950e"), "*example.com/*", false,
                   RuleAction::allow, Url::parse("https://stop.example/r"), false}},
        false,
        BlockSchedule::recurring({{DayOfWeek::monday, DayOfWeek::friday}, {{540, 1020}}}),
        UnlockPolicy::waitToUnlock(30),
        Url::parse("https://stop.example/g"),
        true};
    const auto read = BlockRuleGroup::fromJson(stored);
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(read.value(), expected);
    EXPECT_EQ(expected.toJson(), stored);
}

TEST(BlockRuleGroupTest, DecodingFailures) {
    const std::string id = R"("id":"0f8fad5b-d9cb-469f-a165-70867728950e")";
    const std::string goodRule = "{" + id + R"(,"pattern":"p","isEnabled":true,"action":"block"})";
    struct Case {
        std::string rule;
        bool ok;
    };
    const std::vector<Case> rules = {
        {goodRule, true},
        {"{" + id + R"(,"pattern":"p","isEnabled":true,"action":"Block"})", false},
        {"{" + id + R"(,"pattern":"p","action":"block"})", false},
        {"{" + id + R"(,"pattern":"p","isEnabled":1,"action":"block"})", false},
        {"{" + id + R"(,"pattern":null,"isEnabled":true,"action":"block"})", false},
        {"{" + id + R"(,"pattern":"p","isEnabled":true,"action":"block","redirectURL":"not a url"})", false},
        {"{" + id + R"(,"pattern":"p","isEnabled":true,"action":"block","redirectURL":""})", false},
        {"{" + id + R"(,"pattern":"p","isEnabled":true,"action":"block","appendsQueryParameters":"yes"})",
         false},
        {R"({"id":"zzz","pattern":"p","isEnabled":true,"action":"block"})", false},
    };
    const std::string groupTail =
        R"(,"name":"n","isEnabled":true,"schedule":{"always":{}},"unlockPolicy":{"instant":{}})";
    for (const auto& c : rules) {
        EXPECT_EQ(BlockRule::fromJson(json(c.rule)).ok(), c.ok) << c.rule;
        // One bad rule fails its group.
        const std::string g =
            "{" + id + groupTail + R"(,"isDefault":false,"rules":[)" + goodRule + "," + c.rule + "]}";
        EXPECT_EQ(BlockRuleGroup::fromJson(json(g)).ok(), c.ok) << g;
    }
    EXPECT_FALSE(BlockRuleGroup::fromJson(json("{" + id + groupTail + R"(,"rules":[]})")).ok())
        << "a group without isDefault fails";
    EXPECT_TRUE(
        BlockRuleGroup::fromJson(json("{" + id + groupTail + R"(,"rules":[],"isDefault":true,"x":1})")).ok());
    for (const char* redirect : {R"("")", R"("a b")"}) {
        const std::string g =
            "{" + id + groupTail + R"(,"rules":[],"isDefault":true,"redirectURL":)" + redirect + "}";
        EXPECT_FALSE(BlockRuleGroup::fromJson(json(g)).ok()) << g;
    }
    EXPECT_FALSE(
        BlockRuleGroup::fromJson(json("{" + id + R"(,"name":"n","isEnabled":true,"schedule":{"always":{}},
        "unlockPolicy":{},"rules":[],"isDefault":true})"))
            .ok());
}

TEST(BlockRuleGroupTest, EqualityUsesCanonicalEquivalenceAndTriStateOptionals) {
    const BlockRule composed = rule("caf\xC3\xA9.fr");
    EXPECT_EQ(composed, composed.withPattern("cafe\xCC\x81.fr"));
    EXPECT_NE(composed, composed.withPattern("CAF\xC3\x89.fr"));
    EXPECT_NE(composed.withAppendsQueryParameters(std::nullopt), composed.withAppendsQueryParameters(false));
    EXPECT_NE(composed, composed.withRedirectURL(Url::parse("https://a.b")));
    EXPECT_NE(composed, (BlockRule{Uuid::random(), composed.pattern, true, RuleAction::block, {}, {}}));

    const BlockRuleGroup g = group({composed, rule("x.com")});
    EXPECT_EQ(g, g.withName("Focus"));
    EXPECT_EQ(g.withName("\xE2\x84\xAB"), g.withName("\xC3\x85"));
    EXPECT_NE(g, g.withRules({g.rules[1], g.rules[0]})) << "rule order matters";
    EXPECT_NE(g, g.withRules({g.rules[0]}));
}

TEST(BlockRuleGroupTest, CopyWithChangesOneFieldAndKeepsTheId) {
    const BlockRule r = rule("*a.com/*")
                            .withRedirectURL(Url::parse("https://stop.example/"))
                            .withAppendsQueryParameters(true);
    const BlockRule cleared = r.withRedirectURL(std::nullopt);
    EXPECT_EQ(cleared.id, r.id);
    EXPECT_FALSE(cleared.redirectURL);
    EXPECT_EQ(cleared.withRedirectURL(r.redirectURL), r);
    EXPECT_EQ(r.withAction(RuleAction::allow).action, RuleAction::allow);
    EXPECT_EQ(r.withAction(RuleAction::allow).withAction(RuleAction::block), r);

    const BlockRuleGroup g = group({r});
    const BlockRuleGroup changed = g.withIsEnabled(false).withUnlockPolicy(UnlockPolicy::waitToUnlock(5));
    EXPECT_EQ(changed.id, g.id);
    EXPECT_EQ(changed.rules, g.rules);
    EXPECT_EQ(changed.withIsEnabled(true).withUnlockPolicy(UnlockPolicy::instant()), g);
}

TEST(BlockRuleGroupTest, CanDisableWithoutUnlock) {
    const auto wait = UnlockPolicy::waitToUnlock(10);
    const auto backoff = UnlockPolicy::waitWithBackoff(5, ResetInterval::never());
    struct Case {
        bool groupEnabled;
        UnlockPolicy policy;
        bool ruleEnabled;
        bool groupFree, ruleFree;
    };
    const std::vector<Case> cases = {
        {false, wait, true, true, true},  {true, UnlockPolicy::instant(), true, true, true},
        {true, wait, true, false, false}, {true, backoff, true, false, false},
        {true, wait, false, false, true}, {false, backoff, false, true, true},
    };
    for (const auto& c : cases) {
        const BlockRuleGroup g = group({rule("a.com").withIsEnabled(c.ruleEnabled)})
                                     .withIsEnabled(c.groupEnabled)
                                     .withUnlockPolicy(c.policy);
        EXPECT_EQ(g.canDisableWithoutUnlock(), c.groupFree);
        EXPECT_EQ(g.rules[0].canDisableWithoutUnlock(g), c.ruleFree);
    }
}

TEST(BlockRuleGroupTest, DisplayPattern) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"example.com", "example.com"},
        {"*example.com/*", "example.com/"},
        {"**a**", "*a*"},
        {"*", ""},
        {"**", ""},
        {"a*", "a"},
        {"*a", "a"},
        {"", ""},
        {"*\xC3\xA9*", "\xC3\xA9"},
        // A star with a combining accent on it, or after a prepended sign, is not a star.
        {"*\xCC\x81"
         "a*",
         "*\xCC\x81"
         "a"},
        {"*a\xD8\x80*", "a\xD8\x80*"},
    };
    for (const auto& [pattern, shown] : cases) {
        EXPECT_EQ(rule(pattern).displayPattern(), shown) << pattern;
    }
}

TEST(BlockRuleGroupTest, DefaultGroupSeed) {
    const auto first = BlockRuleGroup::makeDefault("Blocklist");
    const auto second = BlockRuleGroup::makeDefault("Blocklist");
    ASSERT_EQ(first.size(), 1u);
    const BlockRuleGroup& g = first.front();
    EXPECT_EQ(g.name, "Blocklist");
    EXPECT_TRUE(g.isEnabled);
    EXPECT_TRUE(g.isDefault);
    EXPECT_TRUE(g.schedule.isAlways());
    EXPECT_TRUE(g.unlockPolicy.isInstant());
    EXPECT_FALSE(g.redirectURL);
    EXPECT_EQ(g.appendsQueryParameters, std::optional<bool>(true));
    ASSERT_EQ(g.rules.size(), 5u);
    const std::vector<std::string> suffixes = {"/shorts/*", "/reels/*", "/reel/*", "/*", "/*"};
    std::set<Uuid> ids = {g.id};
    for (std::size_t i = 0; i < 5; ++i) {
        const BlockRule& r = g.rules[i];
        ids.insert(r.id);
        EXPECT_FALSE(r.isEnabled);
        EXPECT_EQ(r.action, RuleAction::block);
        EXPECT_FALSE(r.redirectURL);
        EXPECT_FALSE(r.appendsQueryParameters);
        EXPECT_EQ(r.pattern.front(), '*');
        EXPECT_TRUE(r.pattern.ends_with(suffixes[i])) << r.pattern;
        // A second-level domain of at least 5 letters before its top-level domain, so the star cannot
        // reach unrelated sites.
        const std::string domain = r.pattern.substr(1, r.pattern.find('/') - 1);
        EXPECT_GE(domain.find('.'), 5u) << domain;
        EXPECT_EQ(domain.find('*'), std::string::npos);
    }
    EXPECT_EQ(ids.size(), 6u);
    const BlockRuleGroup& other = second.front();
    EXPECT_NE(other.id, g.id);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NE(other.rules[i].id, g.rules[i].id);
        EXPECT_EQ(other.rules[i].pattern, g.rules[i].pattern);
    }
    std::vector<BlockRule> sameIds;
    for (std::size_t i = 0; i < 5; ++i) {
        sameIds.push_back(BlockRule{g.rules[i].id, other.rules[i].pattern, other.rules[i].isEnabled,
                                    other.rules[i].action, other.rules[i].redirectURL,
                                    other.rules[i].appendsQueryParameters});
    }
    BlockRuleGroup rebuilt = other.withRules(sameIds);
    rebuilt.id = g.id;
    EXPECT_EQ(rebuilt, g) << "the two seeds differ only in their ids";
}

} // namespace
} // namespace kivo
