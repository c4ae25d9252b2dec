#include "domain/BlockRuleValidator.h"
#include "domain/KivoMacOSConstants.h"
#include "domain/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kivo {
namespace {

using BlockRuleValidator::ValidationError;
using Error = std::optional<ValidationError>;

std::string repeat(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out += s;
    }
    return out;
}

TEST(BlockRuleValidatorTest, NormalizePattern) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"HTTPS://WWW.Example.COM/Path?q=1#frag", "www.example.com/path"},
        {"  http://a.com/x#y?z  ", "a.com/x"},
        {"https://", ""},
        {"https://http://a.com", "http://a.com"},
        {"ftp://a.com", "ftp://a.com"},
        {"*.Example.com/*", "*.example.com/*"},
        {"a.com/", "a.com/"},
        {"https:// example.com", "example.com"}, // stored as validated: no leading space
        {"\thttps://\xE3\x80\x80"
         "a.com \t?q",
         "a.com"},
        {"\xC3\x89"
         "COLE.fr",
         "\xC3\xA9"
         "cole.fr"},
        {"a.com\n", "a.com\n"},
    };
    for (const auto& [typed, stored] : cases) {
        EXPECT_EQ(BlockRuleValidator::normalizePattern(typed), stored) << typed;
        // Stored as validated: validation trims, so the stored form must have nothing left to trim.
        EXPECT_EQ(Text::trimmed(stored), stored);
    }
}

TEST(BlockRuleValidatorTest, ValidatePattern) {
    const std::string combining = "e\xCC\x81"; // one character, three bytes
    struct Case {
        std::string pattern;
        Error error;
    };
    const std::vector<Case> cases = {
        {"", ValidationError::emptyPattern},
        {" \t\xE3\x80\x80", ValidationError::emptyPattern},
        {"\n", std::nullopt},
        {"*", ValidationError::tooBroadPattern},
        {".", ValidationError::tooBroadPattern},
        {"*.*", ValidationError::tooBroadPattern},
        {"**", ValidationError::tooBroadPattern},
        {repeat("*.", 100), ValidationError::tooBroadPattern},
        {"*.com", ValidationError::tldOnlyPattern},
        {"*.com/*", ValidationError::tldOnlyPattern},
        {".com", ValidationError::tldOnlyPattern},
        {"*..com", ValidationError::tldOnlyPattern},
        {"*.example.com", std::nullopt},
        {"example.com", std::nullopt},
        {"*example*", std::nullopt},
        {"com", std::nullopt},
        {repeat("a", 120), std::nullopt},
        {repeat("a", 121), ValidationError::patternTooLong},
        {repeat(combining, 120), std::nullopt},
        {repeat(combining, 121), ValidationError::patternTooLong},
        {"  " + repeat("a", 120) + "  ", std::nullopt},
        {"*" + repeat("a", 120), ValidationError::patternTooLong},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BlockRuleValidator::validatePattern(c.pattern), c.error) << c.pattern;
    }
    EXPECT_EQ(BlockRuleValidator::validatePattern(BlockRuleValidator::normalizePattern("https://")),
              ValidationError::emptyPattern);
}

TEST(BlockRuleValidatorTest, ValidateGroupName) {
    struct Case {
        std::string name;
        Error error;
    };
    const std::vector<Case> cases = {
        {"", ValidationError::emptyGroupName},
        {"\xE3\x80\x80\xE3\x80\x80", ValidationError::emptyGroupName},
        {repeat("a", 20), std::nullopt},
        {"   " + repeat("a", 20) + "\t", std::nullopt},
        {repeat("a", 21), ValidationError::groupNameTooLong},
        {repeat("\xE6\x97\xA5", 20), std::nullopt},
        {repeat("\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5", 20), std::nullopt},
        {repeat("\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5", 21), ValidationError::groupNameTooLong},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BlockRuleValidator::validateGroupName(c.name), c.error) << c.name;
    }
}

TEST(BlockRuleValidatorTest, ValidateRedirectURL) {
    struct Case {
        std::string text;
        Error error;
        std::string url;
    };
    const std::string longPath = "https://a.com/" + repeat("x", 186);
    ASSERT_EQ(longPath.size(), 200u);
    const std::vector<Case> cases = {
        {"", ValidationError::emptyRedirectURL, ""},
        {" \t ", ValidationError::emptyRedirectURL, ""},
        {"  https://stop.example/page  ", std::nullopt, "https://stop.example/page"},
        {"HTTPS://Stop.Example", std::nullopt, "HTTPS://Stop.Example"},
        {"http:x", std::nullopt, "http:x"},
        {longPath, std::nullopt, longPath},
        {longPath + "y", ValidationError::redirectURLTooLong, ""},
        {repeat(" ", 300), ValidationError::emptyRedirectURL, ""},
        {repeat("%", 201), ValidationError::redirectURLTooLong, ""},
        {"stop.example/page", ValidationError::invalidRedirectURL, ""},
        {"ftp://stop.example", ValidationError::invalidRedirectURL, ""},
        {"file:///etc/passwd", ValidationError::invalidRedirectURL, ""},
        {"javascript:alert(1)", ValidationError::invalidRedirectURL, ""},
        {"https://stop example", ValidationError::invalidRedirectURL, ""},
        {"https://\xE6\x97\xA5.jp", ValidationError::invalidRedirectURL, ""},
        {"https://a.com/%zz", ValidationError::invalidRedirectURL, ""},
    };
    for (const auto& c : cases) {
        const auto result = BlockRuleValidator::validateRedirectURL(c.text);
        if (c.error) {
            ASSERT_TRUE(std::holds_alternative<ValidationError>(result)) << c.text;
            EXPECT_EQ(std::get<ValidationError>(result), *c.error) << c.text;
        } else {
            ASSERT_TRUE(std::holds_alternative<Url>(result)) << c.text;
            EXPECT_EQ(std::get<Url>(result).text(), c.url);
        }
    }
}

TEST(BlockRuleValidatorTest, Messages) {
    using BlockRuleValidator::errorDescription;
    const std::vector<std::pair<ValidationError, std::string>> cases = {
        {ValidationError::emptyPattern, "パターンを入力してください"},
        {ValidationError::tooBroadPattern, "パターンが広すぎます。より具体的なパターンを指定してください"},
        {ValidationError::tldOnlyPattern, "TLD のみのパターンは指定できません（例: *.com）"},
        {ValidationError::patternTooLong, "パターンは120文字以内で入力してください"},
        {ValidationError::emptyGroupName, "ルール名を入力してください"},
        {ValidationError::groupNameTooLong, "ルール名は20文字以内で入力してください"},
        {ValidationError::emptyRedirectURL, "リダイレクトURLを入力してください"},
        {ValidationError::invalidRedirectURL, "有効なHTTP/HTTPS URLを入力してください"},
        {ValidationError::redirectURLTooLong, "リダイレクトURLは200文字以内で入力してください"},
    };
    for (const auto& [error, message] : cases) {
        EXPECT_EQ(errorDescription(error), message);
    }
    EXPECT_EQ(KivoMacOSConstants::maxTriggerNameLength, 20u);
}

} // namespace
} // namespace kivo
