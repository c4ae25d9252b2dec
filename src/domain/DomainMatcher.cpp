#include "domain/DomainMatcher.h"

#include "domain/ClusterText.h"
#include "domain/Text.h"
#include "domain/WildcardPattern.h"

#include <algorithm>

namespace kivo {

namespace {

// Whether the clusters begin with the characters of the ASCII text `prefix`. Here and for the cuts below,
// clusters are compared by their bytes: no character outside ASCII is canonically equivalent to any of
// "htps:/?#".
bool startsWithCharacters(const std::vector<std::string_view>& clusters, std::string_view prefix) {
    return clusters.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), clusters.begin(), [](char c, std::string_view cluster) {
               return cluster.size() == 1 && cluster[0] == c;
           });
}

} // namespace

std::string DomainMatcher::normalize(std::string_view url) {
    std::string lower = Text::lowercased(url);
    if (Text::isAscii(lower)) {
        // Every byte is a character (a CR LF pair holds neither mark), so the cuts go by bytes, in place.
        const std::size_t first = lower.starts_with("https://") ? 8 : lower.starts_with("http://") ? 7 : 0;
        std::size_t last = std::min(lower.find('?', first), lower.size());
        last = std::min(lower.find('#', first), last);
        lower.erase(last);
        lower.erase(0, first);
        return lower;
    }
    // A "?" or "/" with a combining mark on it is another character, so the cuts go by clusters.
    const auto clusters = Text::graphemeClusterViews(lower);
    const std::size_t first = startsWithCharacters(clusters, "https://")  ? 8
                              : startsWithCharacters(clusters, "http://") ? 7
                                                                          : 0;
    const auto begin = clusters.begin() + static_cast<std::ptrdiff_t>(first);
    auto end = std::find(begin, clusters.end(), "?");
    end = std::find(begin, end, "#");
    if (begin == end) {
        return {};
    }
    const auto from = static_cast<std::size_t>(begin->data() - lower.data());
    const auto to = static_cast<std::size_t>(end[-1].data() + end[-1].size() - lower.data());
    return lower.substr(from, to - from);
}

bool DomainMatcher::glob(std::string_view pattern, std::string_view subject) {
    if (ClusterText::isSimpleText(pattern) && ClusterText::isSimpleText(subject)) {
        return WildcardPattern::matchesSimple(pattern, subject);
    }
    return WildcardPattern(pattern).matches(ClusterText::from(subject));
}

std::optional<BlockRule> DomainMatcher::match(std::string_view url, const std::vector<BlockRule>& rules) {
    return match(url, compile(rules));
}

std::optional<BlockRule> DomainMatcher::match(std::string_view url, const CompiledRules& rules) {
    if (const BlockRule* rule = rules.match(url)) {
        return *rule;
    }
    return std::nullopt;
}

std::vector<BlockRule> DomainMatcher::activeRules(const std::vector<BlockRuleGroup>& groups, int weekday,
                                                  std::int64_t minuteOfDay) {
    std::vector<BlockRule> result;
    const auto day = dayOfWeekFromRawValue(weekday);
    if (!day) {
        return result;
    }
    for (const auto& group : groups) {
        if (!group.isEnabled || !group.schedule.isActive(*day, minuteOfDay)) {
            continue;
        }
        for (const auto& rule : group.rules) {
            if (rule.isEnabled) {
                result.push_back(rule);
            }
        }
    }
    return result;
}

CompiledRules DomainMatcher::compile(std::vector<BlockRule> rules) {
    return CompiledRules(std::move(rules));
}

} // namespace kivo
