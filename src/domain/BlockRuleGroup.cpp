#include "domain/BlockRuleGroup.h"

#include "domain/Text.h"

#include <array>
#include <utility>

namespace kivo {

BlockRuleGroup BlockRuleGroup::withName(std::string value) const {
    BlockRuleGroup g = *this;
    g.name = std::move(value);
    return g;
}

BlockRuleGroup BlockRuleGroup::withIsEnabled(bool value) const {
    BlockRuleGroup g = *this;
    g.isEnabled = value;
    return g;
}

BlockRuleGroup BlockRuleGroup::withRules(std::vector<BlockRule> value) const {
    BlockRuleGroup g = *this;
    g.rules = std::move(value);
    return g;
}

BlockRuleGroup BlockRuleGroup::withSchedule(BlockSchedule value) const {
    BlockRuleGroup g = *this;
    g.schedule = std::move(value);
    return g;
}

BlockRuleGroup BlockRuleGroup::withUnlockPolicy(UnlockPolicy value) const {
    BlockRuleGroup g = *this;
    g.unlockPolicy = std::move(value);
    return g;
}

BlockRuleGroup BlockRuleGroup::withRedirectURL(std::optional<Url> value) const {
    BlockRuleGroup g = *this;
    g.redirectURL = std::move(value);
    return g;
}

BlockRuleGroup BlockRuleGroup::withAppendsQueryParameters(std::optional<bool> value) const {
    BlockRuleGroup g = *this;
    g.appendsQueryParameters = value;
    return g;
}

std::vector<BlockRuleGroup> BlockRuleGroup::makeDefault(const std::string& name) {
    // Full second-level domains, so that the leading "*" cannot reach unrelated sites.
    static const std::array<const char*, 5> seedPatterns = {
        "*youtube.com/shorts/*", "*instagram.com/reels/*", "*facebook.com/reel/*",
        "*tiktok.com/*",         "*reddit.com/*",
    };
    std::vector<BlockRule> rules;
    for (const char* pattern : seedPatterns) {
        rules.push_back(
            BlockRule{Uuid::random(), pattern, false, RuleAction::block, std::nullopt, std::nullopt});
    }
    BlockRuleGroup group{Uuid::random(),          name,         true,
                         std::move(rules),        true,         BlockSchedule::always(),
                         UnlockPolicy::instant(), std::nullopt, true};
    return {std::move(group)};
}

Json::Value BlockRuleGroup::toJson() const {
    Json::Value j = Json::Value::object();
    j["id"] = Json::encode(id);
    j["name"] = name;
    j["isEnabled"] = isEnabled;
    j["rules"] = Json::encodeList(rules);
    j["isDefault"] = isDefault;
    j["schedule"] = schedule.toJson();
    j["unlockPolicy"] = unlockPolicy.toJson();
    Json::putOptional(j, "redirectURL", redirectURL);
    Json::putOptional(j, "appendsQueryParameters", appendsQueryParameters);
    return j;
}

Result<BlockRuleGroup> BlockRuleGroup::fromJson(const Json::Value& v) {
    Json::ObjectReader r(v);
    BlockRuleGroup group;
    group.id = r.required<Uuid>("id");
    group.name = r.required<std::string>("name");
    group.isEnabled = r.required<bool>("isEnabled");
    group.rules = r.required<std::vector<BlockRule>>("rules");
    group.isDefault = r.required<bool>("isDefault");
    group.schedule = r.required<BlockSchedule>("schedule");
    group.unlockPolicy = r.required<UnlockPolicy>("unlockPolicy");
    group.redirectURL = r.optional<Url>("redirectURL");
    group.appendsQueryParameters = r.optional<bool>("appendsQueryParameters");
    return r.finish(std::move(group));
}

bool operator==(const BlockRuleGroup& a, const BlockRuleGroup& b) {
    return a.id == b.id && Text::canonicallyEqual(a.name, b.name) && a.isEnabled == b.isEnabled &&
           a.rules == b.rules && a.isDefault == b.isDefault && a.schedule == b.schedule &&
           a.unlockPolicy == b.unlockPolicy && a.redirectURL == b.redirectURL &&
           a.appendsQueryParameters == b.appendsQueryParameters;
}

} // namespace kivo
