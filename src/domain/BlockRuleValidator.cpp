#include "domain/BlockRuleValidator.h"

#include "domain/KivoMacOSConstants.h"
#include "domain/Text.h"

#include <vector>

namespace kivo::BlockRuleValidator {
namespace {

using Clusters = std::vector<std::string>;

std::string join(const Clusters& clusters, std::size_t begin, std::size_t end) {
    std::string out;
    for (std::size_t i = begin; i < end; ++i) {
        out += clusters[i];
    }
    return out;
}

// Whether `clusters` begins with the characters of the ASCII text `prefix`.
bool hasPrefix(const Clusters& clusters, std::string_view prefix) {
    if (clusters.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (clusters[i].size() != 1 || clusters[i][0] != prefix[i]) {
            return false;
        }
    }
    return true;
}

// Clusters up to (not including) the first one that is exactly `mark`.
void cutAt(Clusters& clusters, std::string_view mark) {
    for (std::size_t i = 0; i < clusters.size(); ++i) {
        if (clusters[i] == mark) {
            clusters.resize(i);
            return;
        }
    }
}

std::string tooLongMessage(const char* head, std::size_t limit) {
    return std::string(head) + std::to_string(limit) + "文字以内で入力してください";
}

} // namespace

std::string errorDescription(ValidationError error) {
    switch (error) {
    case ValidationError::emptyPattern:
        return "パターンを入力してください";
    case ValidationError::tooBroadPattern:
        return "パターンが広すぎます。より具体的なパターンを指定してください";
    case ValidationError::tldOnlyPattern:
        return "TLD のみのパターンは指定できません（例: *.com）";
    case ValidationError::patternTooLong:
        return tooLongMessage("パターンは", KivoMacOSConstants::maxPatternLength);
    case ValidationError::emptyGroupName:
        return "ルール名を入力してください";
    case ValidationError::groupNameTooLong:
        return tooLongMessage("ルール名は", KivoMacOSConstants::maxGroupNameLength);
    case ValidationError::emptyRedirectURL:
        return "リダイレクトURLを入力してください";
    case ValidationError::invalidRedirectURL:
        return "有効なHTTP/HTTPS URLを入力してください";
    case ValidationError::redirectURLTooLong:
        return tooLongMessage("リダイレクトURLは", KivoMacOSConstants::maxRedirectURLLength);
    }
    return std::string();
}

std::string normalizePattern(std::string_view pattern) {
    Clusters clusters = Text::graphemeClusters(Text::lowercased(Text::trimmed(pattern)));
    std::size_t start = 0;
    if (hasPrefix(clusters, "https://")) {
        start = 8;
    } else if (hasPrefix(clusters, "http://")) {
        start = 7;
    }
    clusters.erase(clusters.begin(), clusters.begin() + static_cast<std::ptrdiff_t>(start));
    cutAt(clusters, "?");
    cutAt(clusters, "#");
    return Text::trimmed(join(clusters, 0, clusters.size()));
}

std::optional<ValidationError> validatePattern(std::string_view pattern) {
    const Clusters t = Text::graphemeClusters(Text::trimmed(pattern));
    if (t.empty()) {
        return ValidationError::emptyPattern;
    }
    // Only stars and dots would match everything.
    bool onlyStarsAndDots = true;
    Clusters withoutStars;
    for (const std::string& c : t) {
        if (c != "*" && c != ".") {
            onlyStarsAndDots = false;
        }
        if (c != "*") {
            withoutStars.push_back(c);
        }
    }
    if (onlyStarsAndDots) {
        return ValidationError::tooBroadPattern;
    }
    // A leading dot and a single label: a whole top-level domain, such as "*.com" or "*.com/*".
    std::size_t parts = 0;
    bool inPart = false;
    for (const std::string& c : withoutStars) {
        if (c == ".") {
            inPart = false;
        } else if (!inPart) {
            inPart = true;
            ++parts;
        }
    }
    if (parts <= 1 && !withoutStars.empty() && withoutStars.front() == ".") {
        return ValidationError::tldOnlyPattern;
    }
    if (t.size() > KivoMacOSConstants::maxPatternLength) {
        return ValidationError::patternTooLong;
    }
    return std::nullopt;
}

std::optional<ValidationError> validateGroupName(std::string_view name) {
    const std::string t = Text::trimmed(name);
    if (t.empty()) {
        return ValidationError::emptyGroupName;
    }
    if (Text::characterCount(t) > KivoMacOSConstants::maxGroupNameLength) {
        return ValidationError::groupNameTooLong;
    }
    return std::nullopt;
}

std::variant<Url, ValidationError> validateRedirectURL(std::string_view text) {
    const std::string t = Text::trimmed(text);
    if (t.empty()) {
        return ValidationError::emptyRedirectURL;
    }
    if (Text::characterCount(t) > KivoMacOSConstants::maxRedirectURLLength) {
        return ValidationError::redirectURLTooLong;
    }
    std::optional<Url> url = Url::parse(t);
    if (!url || !(url->hasScheme("http") || url->hasScheme("https"))) {
        return ValidationError::invalidRedirectURL;
    }
    return *url;
}

} // namespace kivo::BlockRuleValidator
