#pragma once

#include "domain/Json.h"

#include <optional>
#include <string_view>

namespace kivo {

// What a matching rule does: redirect the page, or let it through whatever block rule also matches.
enum class RuleAction {
    block,
    allow,
};

// "block" or "allow".
std::string_view rawValue(RuleAction action);
// Exactly "block" or "allow" (case-sensitive); none for any other text.
std::optional<RuleAction> ruleActionFromRawValue(std::string_view text);

Json::Value jsonEncode(RuleAction action);
Result<RuleAction> jsonDecode(const Json::Value& v, RuleAction*);

} // namespace kivo
