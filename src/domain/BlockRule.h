#pragma once

#include "domain/Json.h"
#include "domain/RuleAction.h"
#include "domain/Url.h"
#include "domain/Uuid.h"

#include <optional>
#include <string>

namespace kivo {

struct BlockRuleGroup;

// One pattern rule of a group. The pattern is kept as stored; validation happens in the editors.
struct BlockRule {
    Uuid id;
    std::string pattern;
    bool isEnabled = false;
    RuleAction action = RuleAction::block;
    // The rule's own redirect target; none: the group's.
    std::optional<Url> redirectURL;
    // Whether the visited URL is appended to the target; none inherits (distinct from false).
    std::optional<bool> appendsQueryParameters;

    BlockRule withPattern(std::string value) const;
    BlockRule withIsEnabled(bool value) const;
    BlockRule withAction(RuleAction value) const;
    BlockRule withRedirectURL(std::optional<Url> value) const;
    BlockRule withAppendsQueryParameters(std::optional<bool> value) const;

    // False only for an enabled rule of an enabled group whose policy makes the user wait.
    bool canDisableWithoutUnlock(const BlockRuleGroup& group) const;
    // The pattern as a row shows it: one leading and one trailing "*" dropped.
    std::string displayPattern() const;

    Json::Value toJson() const;
    static Result<BlockRule> fromJson(const Json::Value& v);

    // Field by field; the pattern by canonical equivalence.
    friend bool operator==(const BlockRule& a, const BlockRule& b);
};

} // namespace kivo
