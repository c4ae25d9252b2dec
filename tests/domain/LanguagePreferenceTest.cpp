#include "domain/LanguagePreference.h"
#include "domain/Json.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_set>

namespace kivo {
namespace {

using Case = LanguagePreference::Case;

TEST(LanguagePreferenceTest, CasesCarryTheirRawValueLocaleAndNativeName) {
    struct Row {
        Case language;
        std::string raw;
        std::string locale;
        std::string name;
    };
    const Row rows[] = {
        {Case::japanese, "japanese", "ja", "日本語"},
        {Case::english, "english", "en", "English"},
        {Case::korean, "korean", "ko", "한국어"},
        {Case::simplifiedChinese, "simplifiedChinese", "zh-Hans", "简体中文"},
        {Case::traditionalChinese, "traditionalChinese", "zh-Hant", "繁體中文"},
    };
    ASSERT_EQ(LanguagePreference::allCases().size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const LanguagePreference language = LanguagePreference::allCases()[i];
        SCOPED_TRACE(row.raw);
        EXPECT_EQ(language, LanguagePreference(row.language)) << "allCases keeps declaration order";
        EXPECT_EQ(language.rawValue(), row.raw);
        EXPECT_EQ(language.localeIdentifier(), row.locale);
        EXPECT_EQ(language.displayName(), row.name);
        EXPECT_EQ(language.nativeName(), row.name);
        EXPECT_EQ(LanguagePreference::fromRawValue(row.raw), language);
    }
}

TEST(LanguagePreferenceTest, OnlyExactRawValuesConvert) {
    for (const char* text : {"", "ja", "zh-Hans", "English", "Japanese", "english ", " english", "ENGLISH",
                             "simplifiedchinese", "english\n"}) {
        EXPECT_EQ(LanguagePreference::fromRawValue(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(LanguagePreferenceTest, HashFollowsEquality) {
    std::unordered_set<LanguagePreference> set(LanguagePreference::allCases().begin(),
                                               LanguagePreference::allCases().end());
    EXPECT_EQ(set.size(), 5u);
    EXPECT_EQ(set.count(LanguagePreference::korean()), 1u);
}

TEST(LanguagePreferenceTest, FirstPreferredLanguageDecidesByPrefix) {
    struct Row {
        const char* preferred;
        Case expected;
    };
    const Row rows[] = {
        {"ja-JP", Case::japanese},
        {"ja", Case::japanese},
        {"ko-KR", Case::korean},
        {"zh-Hans-CN", Case::simplifiedChinese},
        {"zh-Hant-TW", Case::traditionalChinese},
        {"zh-Hant-HK", Case::traditionalChinese},
        // Without a script the bare "zh" rule applies; the caller normalises such entries first.
        {"zh-TW", Case::simplifiedChinese},
        {"zh-HK", Case::simplifiedChinese},
        {"zh", Case::simplifiedChinese},
        {"yue-Hant-HK", Case::english},
        {"fr-FR", Case::english},
        {"en-US", Case::english},
        {"JA-jp", Case::english},
        {"", Case::english},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LanguagePreference::fromPreferredLanguage(row.preferred), LanguagePreference(row.expected))
            << row.preferred;
    }
}

TEST(LanguagePreferenceTest, StoredFormIsTheRawValueString) {
    EXPECT_EQ(LanguagePreference::korean().toJson(), Json::Value("korean"));
    for (LanguagePreference language : LanguagePreference::allCases()) {
        const Result<LanguagePreference> back = LanguagePreference::fromJson(language.toJson());
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back.value(), language);
    }
    for (const Json::Value& bad : {Json::Value("zh-Hans"), Json::Value("Korean"), Json::Value(3),
                                   Json::Value(), Json::Value::array({"korean"})}) {
        EXPECT_FALSE(LanguagePreference::fromJson(bad).ok()) << bad.dump();
    }
}

} // namespace
} // namespace kivo
