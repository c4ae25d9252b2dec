// Random inputs: the text and URL layers must stay total and keep their invariants on any bytes.
#include "domain/Text.h"
#include "domain/Url.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kivo {
namespace {

std::string randomText(std::mt19937& rng, const std::vector<std::string>& alphabet, int maxPieces) {
    std::uniform_int_distribution<int> length(0, maxPieces);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string s;
    for (int i = length(rng); i > 0; --i) {
        s += alphabet[pick(rng)];
    }
    return s;
}

TEST(RandomInputTest, TextOperationsKeepTheirInvariantsOnAnyBytes) {
    const std::vector<std::string> alphabet = {
        "a",
        "Z",
        " ",
        "\t",
        "\n",
        "\r",
        "*",
        ".",
        "\xC3\xA9",
        "e",
        "\xCC\x81",
        "\xE3\x80\x80",
        "\xC4\xB0",
        "\xF0\x9F\x87\xAF",
        "\xE2\x80\x8D",
        "\xFF",
        "\xC3",
        "\x80",
        "\xED\xA0\x80",
        "\xF0\x9F",
        "\xCE\xA3",
    };
    std::mt19937 rng(20261209);
    for (int i = 0; i < 3000; ++i) {
        const std::string s = randomText(rng, alphabet, 12);
        std::string joined;
        const auto clusters = Text::graphemeClusters(s);
        for (const auto& c : clusters) {
            EXPECT_FALSE(c.empty());
            joined += c;
        }
        ASSERT_EQ(joined, s);
        EXPECT_EQ(Text::characterCount(s), clusters.size());
        EXPECT_TRUE(Text::canonicallyEqual(s, s));
        const std::string t = Text::trimmed(s);
        EXPECT_NE(s.find(t), std::string::npos);
        EXPECT_EQ(Text::trimmed(t), t);
        EXPECT_EQ(Text::isValidUtf8(Text::lowercased(s)), Text::isValidUtf8(s));
        if (Text::isValidUtf8(s)) {
            EXPECT_TRUE(Text::canonicallyEqual(s, Text::decomposed(s)));
        }
    }
}

std::string reassemble(const Url& url) {
    std::string out;
    if (!url.scheme().empty()) {
        out += url.scheme() + ":";
    }
    if (url.hasAuthority()) {
        out += "//";
        if (url.userInfo()) {
            out += *url.userInfo() + "@";
        }
        out += url.host();
        if (url.portText()) {
            out += ":" + *url.portText();
        }
    }
    out += url.path();
    if (url.query()) {
        out += "?" + *url.query();
    }
    if (url.fragment()) {
        out += "#" + *url.fragment();
    }
    return out;
}

TEST(RandomInputTest, UrlComponentsReassembleToTheText) {
    const std::vector<std::string> alphabet = {"http",     "s",   ":", "/", "//", "?",    "#",   "@",  "[",
                                               "]",        "::1", "a", ".", "%",  "41",   "%zz", "8",  " ",
                                               "\xC3\xA9", "-",   "+", "=", "&",  "v1.x", "1",   "\\", "|"};
    std::mt19937 rng(42);
    int accepted = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string s = randomText(rng, alphabet, 10);
        const auto url = Url::parse(s);
        if (!url) {
            continue;
        }
        ++accepted;
        EXPECT_EQ(url->text(), s);
        EXPECT_EQ(reassemble(*url), s) << s;
        EXPECT_TRUE(Text::isAscii(s)) << s;
        EXPECT_EQ(s.find(' '), std::string::npos) << s;
        const auto again = Url::parse(url->text());
        ASSERT_TRUE(again) << s;
        EXPECT_EQ(reassemble(*again), s);
    }
    EXPECT_GT(accepted, 1000);
}

} // namespace
} // namespace kivo
