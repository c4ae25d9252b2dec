#pragma once

#include "domain/Result.h"

#include <nlohmann/json_fwd.hpp>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kivo {

// One of the five interface languages. The raw value is the only form that is ever stored.
class LanguagePreference {
public:
    enum class Case { japanese, english, korean, simplifiedChinese, traditionalChinese };

    constexpr LanguagePreference(Case value) : value_(value) {} // NOLINT: implicit by design

    static constexpr LanguagePreference japanese() { return Case::japanese; }
    static constexpr LanguagePreference english() { return Case::english; }
    static constexpr LanguagePreference korean() { return Case::korean; }
    static constexpr LanguagePreference simplifiedChinese() { return Case::simplifiedChinese; }
    static constexpr LanguagePreference traditionalChinese() { return Case::traditionalChinese; }

    // Declaration order; also the order in which every language picker lists them.
    static const std::array<LanguagePreference, 5>& allCases();

    // The case whose raw value equals `raw` exactly (whole string, case-sensitive).
    static std::optional<LanguagePreference> fromRawValue(std::string_view raw);

    // The language used until the user picks one, decided by the first preferred language of the
    // system only ("" when there is none), by plain case-sensitive prefix comparison.
    static LanguagePreference fromPreferredLanguage(std::string_view firstPreferredLanguage);

    constexpr Case value() const { return value_; }
    std::string_view rawValue() const;
    // The catalog's locale identifier: "ja", "en", "ko", "zh-Hans" or "zh-Hant".
    std::string_view localeIdentifier() const;
    // The language's own name for itself, the same in every interface language.
    std::string_view displayName() const;
    // The same text under the name the window's language pickers use for it.
    std::string_view nativeName() const { return displayName(); }

    // Stored as a single string, the raw value; any other value fails to decode. (The JSON type is only
    // declared here, so Qt headers can include this one.)
    nlohmann::json toJson() const;
    static Result<LanguagePreference> fromJson(const nlohmann::json& v);

    friend constexpr bool operator==(LanguagePreference, LanguagePreference) = default;

private:
    Case value_;
};

} // namespace kivo

template <> struct std::hash<kivo::LanguagePreference> {
    std::size_t operator()(kivo::LanguagePreference language) const noexcept {
        return std::hash<std::string_view>{}(language.rawValue());
    }
};
