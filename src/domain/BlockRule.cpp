#include "domain/BlockRule.h"

#include "domain/BlockRuleGroup.h"
#include "domain/Text.h"

namespace kivo {

BlockRule BlockRule::withPattern(std::string value) const {
    BlockRule r = *this;
    r.pattern = std::move(value);
    return r;
}

BlockRule BlockRule::withIsEnabled(bool value) const {
    BlockRule r = *this;
    r.isEnabled = value;
    return r;
}

BlockRule BlockRule::withAction(RuleAction value) const {
    BlockRule r = *this;
    r.action = value;
    return r;
}

BlockRule BlockRule::withRedirectURL(std::optional<Url> value) const {
    BlockRule r = *this;
    r.redirectURL = std::move(value);
    return r;
}

BlockRule BlockRule::withAppendsQueryParameters(std::optional<bool> value) const {
    BlockRule r = *this;
    r.appendsQueryParameters = value;
    return r;
}

bool BlockRule::canDisableWithoutUnlock(const BlockRuleGroup& group) const {
    return !isEnabled || group.canDisableWithoutUnlock();
}

std::string BlockRule::displayPattern() const {
    std::string_view shown = pattern;
    if (!shown.empty() && shown.front() == '*') {
        shown.remove_prefix(1);
    }
    if (!shown.empty() && shown.back() == '*') {
        shown.remove_suffix(1);
    }
    return std::string(shown);
}

Json::Value BlockRule::toJson() const {
    Json::Value j = Json::Value::object();
    j["id"] = Json::encode(id);
    j["pattern"] = pattern;
    j["isEnabled"] = isEnabled;
    j["action"] = Json::encode(action);
    Json::putOptional(j, "redirectURL", redirectURL);
    Json::putOptional(j, "appendsQueryParameters", appendsQueryParameters);
    return j;
}

Result<BlockRule> BlockRule::fromJson(const Json::Value& v) {
    Json::ObjectReader r(v);
    BlockRule rule;
    rule.id = r.required<Uuid>("id");
    rule.pattern = r.required<std::string>("pattern");
    rule.isEnabled = r.required<bool>("isEnabled");
    rule.action = r.required<RuleAction>("action");
    rule.redirectURL = r.optional<Url>("redirectURL");
    rule.appendsQueryParameters = r.optional<bool>("appendsQueryParameters");
    return r.finish(rule);
}

bool operator==(const BlockRule& a, const BlockRule& b) {
    return a.id == b.id && Text::canonicallyEqual(a.pattern, b.pattern) && a.isEnabled == b.isEnabled &&
           a.action == b.action && a.redirectURL == b.redirectURL &&
           a.appendsQueryParameters == b.appendsQueryParameters;
}

} // namespace kivo
