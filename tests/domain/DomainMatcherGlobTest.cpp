#include "domain/DomainMatcher.h"
#include "domain/Text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace kivo {
namespace {

// The matcher's answer must be the one of the plain backtracking definition of the wildcard: this is
// that definition written out directly, over user-perceived characters compared canonically. It is
// exponential, so it only ever sees short texts.
bool backtrackingGlob(const std::vector<std::string>& pattern, std::size_t p,
                      const std::vector<std::string>& subject, std::size_t s) {
    while (p < pattern.size()) {
        const std::string& c = pattern[p++];
        if (Text::canonicallyEqual(c, "*")) {
            for (std::size_t k = s; k <= subject.size(); ++k) {
                if (backtrackingGlob(pattern, p, subject, k)) {
                    return true;
                }
            }
            return false;
        }
        if (s == subject.size() || !Text::canonicallyEqual(subject[s], c)) {
            return false;
        }
        ++s;
    }
    return s == subject.size();
}

bool backtrackingGlob(const std::string& pattern, const std::string& subject) {
    return backtrackingGlob(Text::graphemeClusters(pattern), 0, Text::graphemeClusters(subject), 0);
}

TEST(DomainMatcherGlobTest, AgreesWithTheBacktrackingDefinitionOnRandomTexts) {
    // Pieces chosen to make characters interact: combining marks that merge with a star or a letter,
    // precomposed and decomposed forms of one letter, CR LF, flag halves, a stray byte, a ZWJ.
    const std::vector<std::string> pieces = {"a",
                                             "b",
                                             "*",
                                             "*",
                                             "*",
                                             ".",
                                             "?",
                                             "e",
                                             "\xC3\xA9" /* é */,
                                             "e\xCC\x81" /* e + acute */,
                                             "\xCC\x81" /* lone acute */,
                                             "\r",
                                             "\n",
                                             "\xF0\x9F\x87\xAF",
                                             "\xF0\x9F\x87\xB5" /* flag halves */,
                                             "\xE2\x84\xAB" /* angstrom sign */,
                                             "\xC3\x85" /* Å */,
                                             "A\xCC\x8A" /* A + ring */,
                                             "\xFF" /* not UTF-8 */,
                                             "\xE2\x80\x8D" /* ZWJ */,
                                             "\xE3\x81\x8B" /* か */};
    std::mt19937 random(20260512);
    auto pick = [&] { return pieces[random() % pieces.size()]; };
    int matches = 0;
    const int rounds = 60000;
    for (int round = 0; round < rounds; ++round) {
        std::string pattern;
        const int patternLength = static_cast<int>(random() % 8);
        for (int i = 0; i < patternLength; ++i) {
            pattern += pick();
        }
        std::string subject;
        if (random() % 2 == 0) {
            // Half the subjects are built from the pattern so that a good share of answers is true.
            for (const char c : pattern) {
                if (c == '*') {
                    for (int j = static_cast<int>(random() % 3); j > 0; --j) {
                        subject += pick();
                    }
                } else {
                    subject += c;
                }
            }
        } else {
            for (int i = static_cast<int>(random() % 10); i > 0; --i) {
                subject += pick();
            }
        }
        const bool expected = backtrackingGlob(pattern, subject);
        matches += expected ? 1 : 0;
        ASSERT_EQ(DomainMatcher::glob(pattern, subject), expected)
            << "round " << round << " pattern '" << pattern << "' subject '" << subject << "'";
    }
    EXPECT_GT(matches, rounds / 5) << "the sample should hold plenty of matches";
}

struct GlobCase {
    std::string pattern;
    std::string subject;
    bool matches;
};

TEST(DomainMatcherGlobTest, Table) {
    const std::vector<GlobCase> cases = {
        {"", "", true},
        {"", "a", false},
        {"*", "", true},
        {"*", "about:blank", true},
        {"**", "abc", true},
        {"a**b", "ab", true},
        {"a*b", "a", false},
        {"*example.com/shorts/*", "m.example.com/shorts/abc", true},
        {"*example.com/shorts/*", "m.example.com/shorts", false},
        {"example.com", "example.com", true},
        {"example.com", "example.com/", false},
        {"example.com", "www.example.com", false},
        {"a?c", "abc", false}, // "?" is a plain character
        {"a?c", "a?c", true},
        {"[ab]", "a", false},
        {"[ab]", "[ab]", true},
        {"a.c", "abc", false},
        {"a\\*", "a\\bc", true},       // a backslash escapes nothing
        {"Example", "example", false}, // no case folding here
        {"*b*b*", "abab", true},
        {"*ab", "aab", true},
        {"*aab", "aaab", true},
        {"a*a", "a", false},
        {"*a*a", "aa", true},
        // Canonical equivalence and user-perceived characters.
        {"caf\xC3\xA9", "cafe\xCC\x81", true}, // precomposed against decomposed
        {"cafe*", "cafe\xCC\x81", false},      // the accent belongs to the "e"
        {"caf*", "cafe\xCC\x81", true},
        {"*\xCC\x81", "e\xCC\x81", false},  // star plus accent is no star
        {"\xE2\x84\xAB", "\xC3\x85", true}, // angstrom sign is Å
        {"a\r*", "a\r\n", false},           // CR LF is one character
        {"a*\n", "a\r\n", false},
        {"a*", "a\r\n", true},
        {"\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5", "\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5", true},
        {"*\xF0\x9F\x87\xB5", "\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5", false}, // half a flag is not a character
        {"*\xFF", "ab\xFF", true},                                        // a stray byte matches only itself
        {"*\xFF", "ab\xC3\xBF", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DomainMatcher::glob(c.pattern, c.subject), c.matches)
            << "pattern '" << c.pattern << "' subject '" << c.subject << "'";
    }
}

TEST(DomainMatcherGlobTest, LongStarPatternsAnswerAtOnce) {
    // A valid 120-character pattern that makes plain backtracking run for ages.
    std::string pattern;
    for (int i = 0; i < 59; ++i) {
        pattern += "*a";
    }
    pattern += "b";
    const std::string subject(2000, 'a');
    const std::string decomposedSubject = [] {
        std::string s;
        for (int i = 0; i < 500; ++i) {
            s += "a\xC3\xA9"; // a non-ASCII subject takes the general path
        }
        return s;
    }();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DomainMatcher::glob(pattern, subject));
    EXPECT_TRUE(DomainMatcher::glob(pattern.substr(0, pattern.size() - 1), subject));
    EXPECT_TRUE(DomainMatcher::glob(pattern.substr(0, pattern.size() - 1) + "*", decomposedSubject));
    EXPECT_FALSE(DomainMatcher::glob(pattern, decomposedSubject));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)); // backtracking: years
}

struct NormalizeCase {
    std::string url;
    std::string normalized;
};

TEST(DomainMatcherNormalizeTest, Table) {
    const std::vector<NormalizeCase> cases = {
        {"https://Example.com/Path?q=1#frag", "example.com/path"},
        {"http://example.com", "example.com"},
        {"HTTPS://EXAMPLE.COM/", "example.com/"},
        {"https://https://x", "https://x"}, // one prefix, once
        {"http://https://x", "https://x"},
        {"https://www.example.com:8443/a", "www.example.com:8443/a"},
        {"https://example.com/a%2Fb", "example.com/a%2fb"}, // escapes stay, only lowercased
        {"https://example.com/a#frag?x", "example.com/a"},  // cut at "?" first, then at the "#"
        {"https://example.com/a#frag", "example.com/a"},
        {"about:blank", "about:blank"},
        {"file:///x", "file:///x"},
        {"ftp://example.com", "ftp://example.com"},
        {"https://", ""},
        {"http://?q", ""},
        {"", ""},
        {"  https://x", "  https://x"}, // no trimming
        {"https://\xC3\x89xample.com/\xC3\x84?q", "\xC3\xA9xample.com/\xC3\xA4"},
        {"https://x.com/\xC4\xB0", "x.com/i\xCC\x87"}, // full lowercase mapping of İ
        {"https://x.com/a?\xCC\x81"
         "b?c",
         "x.com/a?\xCC\x81"
         "b"},                                      // "?" with an accent is another character
        {"https:/\xCC\x81/x", "https:/\xCC\x81/x"}, // so is "/" with an accent
        {"https://x.com/\xFF?q", "x.com/\xFF"},     // stray bytes stay as they are
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DomainMatcher::normalize(c.url), c.normalized) << c.url;
    }
}

} // namespace
} // namespace kivo
