#include "app/rules/RedirectDraft.h"

#include "app/rules/CharacterLimit.h"
#include "domain/BlockRuleValidator.h"
#include "domain/Text.h"

#include <variant>

namespace kivo {

RedirectDraft::RedirectDraft(const std::optional<Url>& url, bool used, bool appendsQueryParameters)
    : used_(used), urlString_(url ? url->text() : std::string()),
      appendsQueryParameters_(appendsQueryParameters), showSection_(used) {}

void RedirectDraft::setUsed(bool value) {
    used_ = value;
    error_.reset();
}

void RedirectDraft::setURLString(std::string_view text) {
    urlString_ = CharacterLimit::truncated(text, urlLimit);
    error_.reset();
}

std::size_t RedirectDraft::urlLength() const {
    return Text::characterCount(urlString_);
}

bool RedirectDraft::validate(std::optional<Url>& target) {
    target.reset();
    if (!used_) {
        return true;
    }
    auto result = BlockRuleValidator::validateRedirectURL(urlString_);
    if (const auto* error = std::get_if<BlockRuleValidator::ValidationError>(&result)) {
        error_ = BlockRuleValidator::errorDescription(*error);
        showSection_ = true;
        return false;
    }
    target = std::get<Url>(std::move(result));
    return true;
}

} // namespace kivo
