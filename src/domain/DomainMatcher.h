#pragma once

#include "domain/BlockRule.h"
#include "domain/BlockRuleGroup.h"
#include "domain/CompiledRules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

// Which rules are in force, and which rule catches a visited URL. Pure functions: the time of day comes
// from the caller, and nothing here reads a clock, a calendar or any other state.
namespace DomainMatcher {

// The text patterns are matched against: lowercased, without one leading "https://" or "http://",
// cut before the first "?" and then before the first "#".
std::string normalize(std::string_view url);

// Whether the whole subject matches the pattern, where "*" stands for any run of characters (the empty
// run included) and every other character for itself. Characters are user-perceived characters compared
// by canonical equivalence; no letter case is folded here.
bool glob(std::string_view pattern, std::string_view subject);

// The deciding rule for a visited URL: none when an enabled allow rule matches, else the first enabled
// block rule that matches, else none.
std::optional<BlockRule> match(std::string_view url, const std::vector<BlockRule>& rules);

// The same decision against rules compiled once (see `compile`); this is the form to use once a second.
std::optional<BlockRule> match(std::string_view url, const CompiledRules& rules);

// The enabled rules of the enabled groups whose schedule is active on `weekday` (1 = Sunday to
// 7 = Saturday) at `minuteOfDay` (hour × 60 + minute), group after group, each in its own order.
// A weekday outside 1-7 yields no rule.
std::vector<BlockRule> activeRules(const std::vector<BlockRuleGroup>& groups, int weekday,
                                   std::int64_t minuteOfDay);

// Prepares rules for many `match` calls: patterns lowercased and split at their stars, allow and block
// rules apart.
CompiledRules compile(std::vector<BlockRule> rules);

} // namespace DomainMatcher

} // namespace kivo
