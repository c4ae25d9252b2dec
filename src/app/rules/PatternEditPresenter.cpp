#include "app/rules/PatternEditPresenter.h"

#include "app/rules/BlockRuleStore.h"
#include "app/rules/CharacterLimit.h"
#include "domain/BlockRuleValidator.h"
#include "domain/Text.h"

#include <algorithm>

namespace kivo {

PatternEditPresenter::PatternEditPresenter(const Uuid& groupId, std::optional<BlockRule> rule,
                                           RuleAction action)
    : groupId_(groupId), rule_(std::move(rule)), action_(action) {
    if (!rule_) {
        return;
    }
    pattern_ = rule_->pattern;
    redirect_ = RedirectDraft(rule_->redirectURL,
                              rule_->redirectURL.has_value() || rule_->appendsQueryParameters.has_value(),
                              rule_->appendsQueryParameters.value_or(false));
}

PatternEditPresenter PatternEditPresenter::adding(const Uuid& groupId, RuleAction action) {
    return PatternEditPresenter(groupId, std::nullopt, action);
}

PatternEditPresenter PatternEditPresenter::editing(const Uuid& groupId, const BlockRule& rule) {
    return PatternEditPresenter(groupId, rule, rule.action);
}

void PatternEditPresenter::setPattern(std::string_view text) {
    pattern_ = CharacterLimit::truncated(text, patternLimit);
    validationError_.reset();
}

std::size_t PatternEditPresenter::patternLength() const {
    return Text::characterCount(pattern_);
}

std::optional<std::string> PatternEditPresenter::normalizationPreview() const {
    std::string normalized = BlockRuleValidator::normalizePattern(pattern_);
    if (normalized.empty() || normalized == Text::trimmed(pattern_)) {
        return std::nullopt;
    }
    return normalized;
}

bool PatternEditPresenter::save(BlockRuleStore& store) {
    const std::string normalized = BlockRuleValidator::normalizePattern(pattern_);
    if (const auto error = BlockRuleValidator::validatePattern(normalized)) {
        validationError_ = BlockRuleValidator::errorDescription(*error);
        return false;
    }
    std::optional<Url> redirectURL;
    std::optional<bool> appends;
    // Only a block rule carries its own redirect.
    if (action_ == RuleAction::block) {
        if (!redirect_.validate(redirectURL)) {
            return false;
        }
        if (redirect_.isUsed()) {
            appends = redirect_.appendsQueryParameters();
        }
    }
    const auto& groups = store.groups();
    const auto group =
        std::find_if(groups.begin(), groups.end(), [&](const BlockRuleGroup& g) { return g.id == groupId_; });
    if (group == groups.end()) {
        return true;
    }
    auto rules = group->rules;
    if (!rule_) {
        rules.push_back(BlockRule{Uuid::random(), normalized, true, action_, redirectURL, appends});
    } else {
        const auto live =
            std::find_if(rules.begin(), rules.end(), [&](const BlockRule& r) { return r.id == rule_->id; });
        if (live == rules.end()) {
            return true;
        }
        *live = live->withPattern(normalized)
                    .withAction(action_)
                    .withRedirectURL(redirectURL)
                    .withAppendsQueryParameters(appends);
    }
    store.replaceGroup(groupId_, group->withRules(std::move(rules)));
    return true;
}

void PatternEditPresenter::confirmDelete(BlockRuleStore& store) const {
    if (rule_) {
        store.deleteRule(groupId_, rule_->id);
    }
}

} // namespace kivo
