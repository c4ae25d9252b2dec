#include "domain/RedirectResolver.h"

namespace kivo {

namespace {

bool isWebTarget(const std::optional<Url>& url) {
    return url.has_value() && RedirectResolver::isWebURL(*url);
}

} // namespace

const Url& RedirectResolver::defaultShieldURL() {
    // A function-local static is built once even when several threads ask first.
    static const Url url = *Url::parse("https://kivo.app/shield");
    return url;
}

ResolvedRedirect RedirectResolver::resolve(const BlockRule& rule, const BlockRuleGroup& group) {
    const Url& url = isWebTarget(rule.redirectURL)    ? *rule.redirectURL
                     : isWebTarget(group.redirectURL) ? *group.redirectURL
                                                      : defaultShieldURL();
    bool appends = url == defaultShieldURL();
    if (rule.appendsQueryParameters.has_value()) {
        appends = *rule.appendsQueryParameters;
    } else if (group.appendsQueryParameters.has_value()) {
        appends = *group.appendsQueryParameters;
    }
    return ResolvedRedirect(url, appends);
}

std::vector<std::string> RedirectResolver::redirectPrefixes(const std::vector<BlockRuleGroup>& groups) {
    std::vector<std::string> prefixes{defaultShieldURL().text()};
    for (const auto& group : groups) {
        if (group.redirectURL) {
            prefixes.push_back(group.redirectURL->text());
        }
        for (const auto& rule : group.rules) {
            if (rule.redirectURL) {
                prefixes.push_back(rule.redirectURL->text());
            }
        }
    }
    return prefixes;
}

bool RedirectResolver::isRedirectTarget(std::string_view url, const std::vector<std::string>& prefixes) {
    for (const auto& prefix : prefixes) {
        if (!url.starts_with(prefix)) {
            continue;
        }
        const std::string_view rest = url.substr(prefix.size());
        if (rest.empty() || rest.front() == '?') {
            return true;
        }
        if (rest.front() == '&' && prefix.find('?') != std::string::npos) {
            return true;
        }
    }
    return false;
}

bool RedirectResolver::isWebURL(const Url& url) {
    return url.hasScheme("http") || url.hasScheme("https");
}

} // namespace kivo
