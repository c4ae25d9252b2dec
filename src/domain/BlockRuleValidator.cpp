#include "domain/BlockRuleValidator.h"

#include "domain/DomainMatcher.h"
#include "domain/KivoMacOSConstants.h"
#include "domain/Text.h"

#include <vector>

namespace kivo::BlockRuleValidator {
namespace {

using Clusters = std::vector<std::string>;

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
    // What the matcher makes of a visited URL, so that a typed URL is stored as the text it would match.
    return Text::trimmed(DomainMatcher::normalize(Text::trimmed(pattern)));
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
