#pragma once

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
    static constexpr std::size_t redirectURLLimit = 200;

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

    bool overrideRedirect() const { return overrideRedirect_; }
    void setOverrideRedirect(bool value);
    const std::string& redirectURLString() const { return redirectURLString_; }
    void setRedirectURLString(std::string_view text);
    std::size_t redirectURLLength() const;
    bool appendsQueryParameters() const { return appendsQueryParameters_; }
    void setAppendsQueryParameters(bool value) { appendsQueryParameters_ = value; }
    const std::optional<std::string>& redirectURLError() const { return redirectURLError_; }
    bool showRedirectSection() const { return showRedirectSection_; }
    void setShowRedirectSection(bool value) { showRedirectSection_ = value; }

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
    bool overrideRedirect_ = false;
    std::string redirectURLString_;
    bool appendsQueryParameters_ = false;
    std::optional<std::string> redirectURLError_;
    bool showRedirectSection_ = false;
};

} // namespace kivo
