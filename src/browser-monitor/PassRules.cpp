#include "browser-monitor/PassRules.h"

#include "domain/RedirectResolver.h"

namespace kivo {

std::vector<RedirectDecision> PassRules::decide(const std::vector<std::string>& urls) const {
    std::vector<RedirectDecision> decisions;
    for (const auto& url : urls) {
        if (RedirectResolver::isRedirectTarget(url, *redirectPrefixes)) {
            continue;
        }
        const BlockRule* rule = activeRules->match(url);
        if (!rule) {
            continue;
        }
        const auto group = ruleToGroup->find(rule->id);
        if (group == ruleToGroup->end()) {
            continue; // the index is older than the active rules
        }
        decisions.push_back(
            RedirectDecision{url, RedirectResolver::resolve(*rule, group->second).finalURLString(url)});
    }
    return decisions;
}

} // namespace kivo
