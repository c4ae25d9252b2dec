#include "domain/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kivo {
namespace {

struct CountCase {
    std::string text;
    std::size_t clusters;
};

TEST(TextTest, CountsExtendedGraphemeClusters) {
    const std::vector<CountCase> cases = {
        {"", 0},
        {"abc", 3},
        {"a\r\nb", 3},                                       // CR LF is one character
        {"e\xCC\x81", 1},                                    // e + combining acute
        {"\xC3\xA9", 1},                                     // precomposed é
        {"\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9", 1}, // man ZWJ woman
        {"\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5", 1},             // regional indicators J P: one flag
        {"\xE3\x81\x8B\xE3\x82\x99", 1},                     // か + combining voiced mark
        {"\xE6\x97\xA5\xE6\x9C\xAC", 2},                     // 日本
        {"a\xFF"
         "b",
         3},                 // a malformed byte stands alone
        {"\xCC\x81\xFF", 2}, // lone combining mark then a malformed byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text::characterCount(c.text), c.clusters) << c.text;
        std::string joined;
        for (const auto& cluster : Text::graphemeClusters(c.text)) {
            joined += cluster;
        }
        EXPECT_EQ(joined, c.text) << "clusters must join back to the text";
    }
}

TEST(TextTest, CanonicalEquivalence) {
    struct Case {
        std::string a, b;
        bool equal;
    };
    const std::vector<Case> cases = {
        {"abc", "abc", true},
        {"abc", "ABC", false},
        {"\xC3\xA9", "e\xCC\x81", true},                  // é composed vs decomposed
        {"\xE2\x84\xAB", "\xC3\x85", true},               // Ångström sign vs Å
        {"\xEF\xAC\x81", "fi", false},                    // ligature is only compatibility-equal
        {"a\xCC\xA3\xCC\x87", "a\xCC\x87\xCC\xA3", true}, // combining marks reordered canonically
        {"\xFF", "\xFF", true},                           // identical bytes
        {"\xC3\xA9\xFF", "e\xCC\x81\xFF", false},         // malformed: only byte equality
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text::canonicallyEqual(c.a, c.b), c.equal) << c.a << " vs " << c.b;
        EXPECT_EQ(Text::canonicallyEqual(c.b, c.a), c.equal);
    }
}

TEST(TextTest, TrimsSpaceSeparatorsAndTabOnly) {
    struct Case {
        std::string in, out;
    };
    const std::vector<Case> cases = {
        {"  a b  ", "a b"},
        {"\ta\t", "a"},
        {"\xE3\x80\x80"
         "abc\xC2\xA0",
         "abc"}, // ideographic space, no-break space
        {"\xE2\x80\x8A"
         "x\xE2\x80\xAF",
         "x"},              // hair space, narrow no-break space
        {"\na\n", "\na\n"}, // line breaks stay
        {" \r\n ", "\r\n"},
        {"   ", ""},
        {"", ""},
        {" \xFF ", "\xFF"}, // malformed byte is content
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text::trimmed(c.in), c.out) << c.in;
    }
}

TEST(TextTest, LowercasesEveryScalarWithoutLocale) {
    struct Case {
        std::string in, out;
    };
    const std::vector<Case> cases = {
        {"HeLLo.COM/Path", "hello.com/path"},
        {"\xC3\x89"
         "COLE",
         "\xC3\xA9"
         "cole"},                                 // É
        {"\xC4\xB0", "i\xCC\x87"},                // İ → i + combining dot above
        {"I", "i"},                               // no Turkish dotless i
        {"\xCE\xA3\xCE\x91", "\xCF\x83\xCE\xB1"}, // ΣΑ → σα (per scalar, no final form)
        {"\xEF\xBC\xA1", "\xEF\xBD\x81"},         // fullwidth A
        {"\xE6\x97\xA5", "\xE6\x97\xA5"},
        {"A\xFF"
         "B",
         "a\xFF"
         "b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text::lowercased(c.in), c.out) << c.in;
    }
}

TEST(TextTest, Utf8Validity) {
    EXPECT_TRUE(Text::isValidUtf8("abc\xE6\x97\xA5"));
    EXPECT_TRUE(Text::isAscii("abc"));
    EXPECT_FALSE(Text::isAscii("\xC3\xA9"));
    for (const std::string bad :
         {"\xFF", "\xC3", "\xE6\x97", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(Text::isValidUtf8(bad));
        EXPECT_GE(Text::characterCount(bad), 1u);
        EXPECT_EQ(Text::decomposed(bad), bad);
    }
}

} // namespace
} // namespace kivo
