#pragma once

#include "domain/Url.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kivo {

// What the editors pass typed patterns, group names and redirect URLs through before storing them.
// Lengths are in characters (grapheme clusters); trimming removes space separators and tabs only.
namespace BlockRuleValidator {

enum class ValidationError {
    emptyPattern,
    tooBroadPattern,
    tldOnlyPattern,
    patternTooLong,
    emptyGroupName,
    groupNameTooLong,
    emptyRedirectURL,
    invalidRedirectURL,
    redirectURLTooLong,
};

// The message shown under the field; the same in every interface language.
std::string errorDescription(ValidationError error);

// The stored form of a typed pattern: trimmed, lower-cased, without "https://" or "http://", cut at the
// first "?" and then the first "#", and trimmed again so that what is stored is what was validated.
std::string normalizePattern(std::string_view pattern);

// Each returns none on success, else the first failing test's error.
std::optional<ValidationError> validatePattern(std::string_view pattern);
std::optional<ValidationError> validateGroupName(std::string_view name);
// The parsed http or https URL (scheme as typed), or the first failing test's error.
std::variant<Url, ValidationError> validateRedirectURL(std::string_view text);

} // namespace BlockRuleValidator
} // namespace kivo
