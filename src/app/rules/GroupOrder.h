#pragma once

#include "domain/BlockRuleGroup.h"

#include <cstddef>
#include <set>
#include <vector>

namespace kivo {

// Reordering the rule groups by drag: a standard list move (the moved elements keep their relative order
// and land before the element that stood at `destination`; `destination` = count puts them last).
namespace GroupOrder {

std::vector<BlockRuleGroup> moved(const std::vector<BlockRuleGroup>& groups,
                                  const std::set<std::size_t>& source, std::size_t destination);
// The reorder list's fixed height in points: 52 below two groups, else 32 per row for up to ten rows
// plus 20.
int listHeight(std::size_t groupCount);

} // namespace GroupOrder
} // namespace kivo
