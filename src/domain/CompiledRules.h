#pragma once

#include "domain/BlockRule.h"
#include "domain/WildcardPattern.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace kivo {

// A list of rules prepared for matching many URLs: each enabled rule's pattern is lowercased and
// compiled once, and allow rules are kept apart from block rules, so that a URL costs one
// normalisation plus a few byte comparisons per rule.
class CompiledRules {
public:
    CompiledRules() = default;
    explicit CompiledRules(std::vector<BlockRule> rules);

    // The rules as given, disabled ones included, in their order.
    const std::vector<BlockRule>& rules() const { return rules_; }

    // True when no enabled rule is left, so that no URL can be caught.
    bool isEmpty() const { return allow_.empty() && block_.empty(); }

    // The deciding rule for a visited URL (a pointer into rules()), or nullptr when the URL is let
    // through: an enabled allow rule that matches beats every block rule, else the first enabled block
    // rule that matches decides.
    const BlockRule* match(std::string_view url) const;

private:
    struct Entry {
        WildcardPattern pattern;
        std::size_t index = 0;
    };

    std::vector<BlockRule> rules_;
    std::vector<Entry> allow_;
    std::vector<Entry> block_;
};

} // namespace kivo
