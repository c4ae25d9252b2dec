#pragma once

#include "app/rules/RedirectDraft.h"
#include "domain/BlockRule.h"
#include "domain/RuleAction.h"
#include "domain/Uuid.h"

#include <optional>
#include <string>

namespace kivo {

class BlockRuleStore;

// The working state of the sheet that adds one pattern rule to a group, or edits or deletes one: the
// typed pattern with the form it will be stored in, the rule's own redirect target, their validation, and
// what a save writes.
class PatternEditPresenter {
public:
    static constexpr std::size_t patternLimit = 120;
    static constexpr std::size_t redirectURLLimit = RedirectDraft::urlLimit;

    static PatternEditPresenter adding(const Uuid& groupId, RuleAction action);
    static PatternEditPresenter editing(const Uuid& groupId, const BlockRule& rule);

    bool isEditing() const { return rule_.has_value(); }
    RuleAction action() const { return action_; }
    const Uuid& groupId() const { return groupId_; }
    const std::optional<BlockRule>& rule() const { return rule_; }

    const std::string& pattern() const { return pattern_; }
    void setPattern(std::string_view text);
    // Characters typed, surrounding spaces included (the counter under the field).
    std::size_t patternLength() const;
    // The stored form of the pattern when it differs from what was typed (spaces aside), else none.
    std::optional<std::string> normalizationPreview() const;
    const std::optional<std::string>& validationError() const { return validationError_; }

    bool overrideRedirect() const { return redirect_.isUsed(); }
    void setOverrideRedirect(bool value) { redirect_.setUsed(value); }
    const std::string& redirectURLString() const { return redirect_.urlString(); }
    void setRedirectURLString(std::string_view text) { redirect_.setURLString(text); }
    std::size_t redirectURLLength() const { return redirect_.urlLength(); }
    bool appendsQueryParameters() const { return redirect_.appendsQueryParameters(); }
    void setAppendsQueryParameters(bool value) { redirect_.setAppendsQueryParameters(value); }
    const std::optional<std::string>& redirectURLError() const { return redirect_.error(); }
    bool showRedirectSection() const { return redirect_.showSection(); }
    RedirectDraft& redirect() { return redirect_; }
    void setShowRedirectSection(bool value) { redirect_.setShowSection(value); }

    // Validates and writes; false leaves the sheet open with a message under the failing field. The edit
    // is applied to the group and rule as the store holds them now, so a switch flipped meanwhile stays;
    // a group or rule deleted meanwhile is not brought back.
    bool save(BlockRuleStore& store);
    void confirmDelete(BlockRuleStore& store) const;

private:
    PatternEditPresenter(const Uuid& groupId, std::optional<BlockRule> rule, RuleAction action);

    Uuid groupId_;
    std::optional<BlockRule> rule_;
    RuleAction action_;
    std::string pattern_;
    std::optional<std::string> validationError_;
    RedirectDraft redirect_{std::nullopt, false, false};
};

} // namespace kivo
