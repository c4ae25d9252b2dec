#include "domain/CompiledRules.h"

#include "domain/ClusterText.h"
#include "domain/DomainMatcher.h"
#include "domain/Text.h"

namespace kivo {

CompiledRules::CompiledRules(std::vector<BlockRule> rules) : rules_(std::move(rules)) {
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        const BlockRule& rule = rules_[i];
        if (!rule.isEnabled) {
            continue;
        }
        Entry entry{WildcardPattern(Text::lowercased(rule.pattern)), i};
        (rule.action == RuleAction::allow ? allow_ : block_).push_back(std::move(entry));
    }
}

const BlockRule* CompiledRules::match(std::string_view url) const {
    if (isEmpty()) {
        return nullptr;
    }
    const ClusterText subject = ClusterText::from(DomainMatcher::normalize(url));
    const auto fingerprint = WildcardPattern::Fingerprint::of(subject.bytes());
    for (const Entry& entry : allow_) {
        if (entry.pattern.matches(subject, fingerprint)) {
            return nullptr;
        }
    }
    for (const Entry& entry : block_) {
        if (entry.pattern.matches(subject, fingerprint)) {
            return &rules_[entry.index];
        }
    }
    return nullptr;
}

} // namespace kivo
