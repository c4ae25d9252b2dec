#include "app/rules/GroupOrder.h"

#include <algorithm>

namespace kivo::GroupOrder {

std::vector<BlockRuleGroup> moved(const std::vector<BlockRuleGroup>& groups,
                                  const std::set<std::size_t>& source, std::size_t destination) {
    std::vector<BlockRuleGroup> picked;
    std::vector<BlockRuleGroup> rest;
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (source.count(i) != 0) {
            picked.push_back(groups[i]);
        } else {
            if (i < destination) {
                ++insertAt;
            }
            rest.push_back(groups[i]);
        }
    }
    rest.insert(rest.begin() + static_cast<std::ptrdiff_t>(std::min(insertAt, rest.size())), picked.begin(),
                picked.end());
    return rest;
}

int listHeight(std::size_t groupCount) {
    if (groupCount < 2) {
        return 52;
    }
    return static_cast<int>(std::min<std::size_t>(groupCount, 10)) * 32 + 20;
}

} // namespace kivo::GroupOrder
