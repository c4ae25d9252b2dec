#include "domain/LanguagePreference.h"

namespace kivo {

namespace {

struct LanguageEntry {
    std::string_view rawValue;
    std::string_view localeIdentifier;
    std::string_view displayName;
};

constexpr std::array<LanguageEntry, 5> kEntries{{
    {"japanese", "ja", "日本語"},
    {"english", "en", "English"},
    {"korean", "ko", "한국어"},
    {"simplifiedChinese", "zh-Hans", "简体中文"},
    {"traditionalChinese", "zh-Hant", "繁體中文"},
}};

const LanguageEntry& entryOf(LanguagePreference language) {
    return kEntries[static_cast<std::size_t>(language.value())];
}

} // namespace

const std::array<LanguagePreference, 5>& LanguagePreference::allCases() {
    static constexpr std::array<LanguagePreference, 5> cases{japanese(), english(), korean(),
                                                             simplifiedChinese(), traditionalChinese()};
    return cases;
}

std::optional<LanguagePreference> LanguagePreference::fromRawValue(std::string_view raw) {
    for (LanguagePreference language : allCases()) {
        if (language.rawValue() == raw) {
            return language;
        }
    }
    return std::nullopt;
}

LanguagePreference LanguagePreference::fromPreferredLanguage(std::string_view first) {
    // Order matters: "zh-Hans"/"zh-Hant" must be tested before the bare "zh".
    if (first.starts_with("ja")) {
        return japanese();
    }
    if (first.starts_with("ko")) {
        return korean();
    }
    if (first.starts_with("zh-Hans")) {
        return simplifiedChinese();
    }
    if (first.starts_with("zh-Hant")) {
        return traditionalChinese();
    }
    if (first.starts_with("zh")) {
        return simplifiedChinese();
    }
    return english();
}

std::string_view LanguagePreference::rawValue() const {
    return entryOf(*this).rawValue;
}

std::string_view LanguagePreference::localeIdentifier() const {
    return entryOf(*this).localeIdentifier;
}

std::string_view LanguagePreference::displayName() const {
    return entryOf(*this).displayName;
}

Json::Value LanguagePreference::toJson() const {
    return Json::Value(std::string(rawValue()));
}

Result<LanguagePreference> LanguagePreference::fromJson(const Json::Value& v) {
    if (!v.is_string()) {
        return Result<LanguagePreference>::failure("expected a language name");
    }
    const std::string& raw = v.get_ref<const std::string&>();
    if (std::optional<LanguagePreference> language = fromRawValue(raw)) {
        return Result<LanguagePreference>::success(*language);
    }
    return Result<LanguagePreference>::failure("data corrupted: \"" + raw + "\" is not a language");
}

} // namespace kivo
