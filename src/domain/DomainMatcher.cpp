#include "domain/DomainMatcher.h"

#include "domain/ClusterText.h"
#include "domain/Text.h"
#include "domain/WildcardPattern.h"

namespace kivo {

namespace {

std::string lowercasedForMatching(std::string_view text) {
    if (Text::isAscii(text)) {
        std::string out(text);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return out;
    }
    return Text::lowercased(text);
}

// Whether a cluster is canonically the given ASCII character.
bool clusterIs(std::string_view cluster, char c) {
    if (cluster.size() == 1) {
        return cluster[0] == c;
    }
    if (Text::isAscii(cluster)) {
        return false; // only CR LF is a multi-byte ASCII cluster
    }
    const ClusterText decomposed = ClusterText::from(cluster);
    return decomposed.size() == 1 && decomposed.bytes()[0] == c;
}

bool startsWithClusters(const std::vector<std::string_view>& clusters, std::string_view prefix) {
    if (clusters.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (!clusterIs(clusters[i], prefix[i])) {
            return false;
        }
    }
    return true;
}

std::string normalizeAscii(std::string_view text) {
    std::size_t start = 0;
    if (text.substr(0, 8) == "https://") {
        start = 8;
    } else if (text.substr(0, 7) == "http://") {
        start = 7;
    }
    std::size_t end = text.find('?', start);
    if (end == std::string_view::npos) {
        end = text.size();
    }
    const std::size_t hash = text.substr(0, end).find('#', start);
    if (hash != std::string_view::npos) {
        end = hash;
    }
    return std::string(text.substr(start, end - start));
}

} // namespace

std::string DomainMatcher::normalize(std::string_view url) {
    std::string lower = lowercasedForMatching(url);
    if (Text::isAscii(lower)) {
        return normalizeAscii(lower);
    }
    // A "?" or "/" with a combining mark on it is another character, so the cuts go by clusters.
    const auto clusters = Text::graphemeClusterViews(lower);
    std::size_t first = 0;
    if (startsWithClusters(clusters, "https://")) {
        first = 8;
    } else if (startsWithClusters(clusters, "http://")) {
        first = 7;
    }
    std::size_t last = clusters.size();
    for (std::size_t i = first; i < last; ++i) {
        if (clusterIs(clusters[i], '?')) {
            last = i;
            break;
        }
    }
    for (std::size_t i = first; i < last; ++i) {
        if (clusterIs(clusters[i], '#')) {
            last = i;
            break;
        }
    }
    if (first >= last) {
        return {};
    }
    const auto begin = static_cast<std::size_t>(clusters[first].data() - lower.data());
    const auto end =
        static_cast<std::size_t>(clusters[last - 1].data() + clusters[last - 1].size() - lower.data());
    return lower.substr(begin, end - begin);
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
