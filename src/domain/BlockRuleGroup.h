#pragma once

#include "domain/BlockRule.h"
#include "domain/BlockSchedule.h"
#include "domain/Json.h"
#include "domain/UnlockPolicy.h"
#include "domain/Url.h"
#include "domain/Uuid.h"

#include <optional>
#include <string>
#include <vector>

namespace kivo {

// A named, ordered list of rules with its schedule, unlock policy and redirect defaults.
struct BlockRuleGroup {
    Uuid id;
    std::string name;
    bool isEnabled = false;
    std::vector<BlockRule> rules;
    // The seeded group: never deleted, renamed with the interface language while it bears a seed name.
    bool isDefault = false;
    BlockSchedule schedule;
    UnlockPolicy unlockPolicy;
    // Target and append choice for the rules that have none.
    std::optional<Url> redirectURL;
    std::optional<bool> appendsQueryParameters;

    BlockRuleGroup withName(std::string value) const;
    BlockRuleGroup withIsEnabled(bool value) const;
    BlockRuleGroup withRules(std::vector<BlockRule> value) const;
    BlockRuleGroup withSchedule(BlockSchedule value) const;
    BlockRuleGroup withUnlockPolicy(UnlockPolicy value) const;
    BlockRuleGroup withRedirectURL(std::optional<Url> value) const;
    BlockRuleGroup withAppendsQueryParameters(std::optional<bool> value) const;

    // True for a disabled group or an instant policy: switching off needs no wait.
    bool canDisableWithoutUnlock() const { return !isEnabled || unlockPolicy.isInstant(); }

    // The seed list: one enabled default group named `name`, holding five disabled rules for widely used
    // video and social sites, always scheduled, instant, appending the visited URL.
    static std::vector<BlockRuleGroup> makeDefault(const std::string& name);

    Json::Value toJson() const;
    static Result<BlockRuleGroup> fromJson(const Json::Value& v);

    // Field by field; the name by canonical equivalence, the rules in order.
    friend bool operator==(const BlockRuleGroup& a, const BlockRuleGroup& b);
};

} // namespace kivo
