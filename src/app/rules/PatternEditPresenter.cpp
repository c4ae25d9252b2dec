#include "app/rules/PatternEditPresenter.h"

#include "app/BlockRuleStore.h"
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
    overrideRedirect_ = rule_->redirectURL.has_value() || rule_->appendsQueryParameters.has_value();
    redirectURLString_ = rule_->redirectURL ? rule_->redirectURL->text() : std::string();
    appendsQueryParameters_ = rule_->appendsQueryParameters.value_or(false);
    showRedirectSection_ = overrideRedirect_;
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

void PatternEditPresenter::setOverrideRedirect(bool value) {
    overrideRedirect_ = value;
    redirectURLError_.reset();
}

void PatternEditPresenter::setRedirectURLString(std::string_view text) {
    redirectURLString_ = CharacterLimit::truncated(text, redirectURLLimit);
    redirectURLError_.reset();
}

std::size_t PatternEditPresenter::redirectURLLength() const {
    return Text::characterCount(redirectURLString_);
}

bool PatternEditPresenter::save(BlockRuleStore& store) {
    const std::string normalized = BlockRuleValidator::normalizePattern(pattern_);
    if (const auto error = BlockRuleValidator::validatePattern(normalized)) {
        validationError_ = BlockRuleValidator::errorDescription(*error);
        return false;
    }
    std::optional<Url> redirectURL;
    std::optional<bool> appends;
    if (action_ == RuleAction::block && overrideRedirect_) {
        auto result = BlockRuleValidator::validateRedirectURL(redirectURLString_);
        if (const auto* error = std::get_if<BlockRuleValidator::ValidationError>(&result)) {
            redirectURLError_ = BlockRuleValidator::errorDescription(*error);
            showRedirectSection_ = true;
            return false;
        }
        redirectURL = std::get<Url>(std::move(result));
        appends = appendsQueryParameters_;
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
