#pragma once

#include "domain/BlockRule.h"
#include "domain/BlockRuleGroup.h"
#include "domain/ResolvedRedirect.h"
#include "domain/Url.h"

#include <string>
#include <string_view>
#include <vector>

namespace kivo {

// Where a caught tab goes: the rule's own target, else its group's, else the default shield page.
namespace RedirectResolver {

// Kivo's own shield page, "https://kivo.app/shield". Built once; every call returns the same value.
const Url& defaultShieldURL();

// The target and the append choice for a rule of a group. Each falls back on its own: the rule's, then
// the group's, then the default (the shield page, which appends). A stored target that is not an http
// or https URL is never sent to a browser: it is passed over as if it were not set.
ResolvedRedirect resolve(const BlockRule& rule, const BlockRuleGroup& group);

// The text of the default page, then for each group its own target followed by its rules' targets
// (enabled or not, duplicates kept), so that a tab already showing a target is left alone.
std::vector<std::string> redirectPrefixes(const std::vector<BlockRuleGroup>& groups);

// Whether a tab's URL is a target itself or a target with the "blocked" parameter as
// `ResolvedRedirect::finalURLString` writes it: the rest after a prefix is empty, begins with "?", or
// begins with "&" when the prefix already holds a "?". Compared byte for byte, case significant.
bool isRedirectTarget(std::string_view url, const std::vector<std::string>& prefixes);

// True for a URL whose scheme is http or https, in any letter case.
bool isWebURL(const Url& url);

} // namespace RedirectResolver

} // namespace kivo
