#include "app/rules/CharacterLimit.h"

#include "domain/Text.h"

namespace kivo::CharacterLimit {

std::string truncated(std::string_view text, std::size_t limit) {
    if (limit == 0) {
        return std::string();
    }
    if (text.size() <= limit) {
        return std::string(text); // never more characters than bytes
    }
    const auto clusters = Text::graphemeClusterViews(text);
    if (clusters.size() <= limit) {
        return std::string(text);
    }
    const auto& last = clusters[limit - 1];
    return std::string(text.substr(0, static_cast<std::size_t>(last.data() + last.size() - text.data())));
}

} // namespace kivo::CharacterLimit
