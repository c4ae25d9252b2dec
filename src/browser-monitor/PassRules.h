#pragma once

#include "browser-monitor/RedirectDecision.h"
#include "domain/BlockRuleGroup.h"
#include "domain/CompiledRules.h"
#include "domain/Uuid.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kivo {

// What one pass decides with: the active rules, the redirect targets already configured and the group of
// each rule. Immutable and shared, so the decisions for a browser's tabs can be made on its worker
// instead of the main thread.
struct PassRules {
    std::shared_ptr<const CompiledRules> activeRules;
    std::shared_ptr<const std::vector<std::string>> redirectPrefixes;
    std::shared_ptr<const std::unordered_map<Uuid, BlockRuleGroup>> ruleToGroup;

    // For each URL in order: skipped when it already shows a redirect target, when no rule catches it
    // (an allow rule wins) or when the rule's group is unknown; otherwise sent to the resolved target.
    std::vector<RedirectDecision> decide(const std::vector<std::string>& urls) const;
};

} // namespace kivo
