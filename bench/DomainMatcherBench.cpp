// Matching cost of the polling pass: every tab URL against every active rule, once a second.
#include "domain/BlockRule.h"
#include "domain/DomainMatcher.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace kivo;

BlockRule makeRule(std::string pattern, RuleAction action) {
    return BlockRule{Uuid::random(), std::move(pattern), true, action, std::nullopt, std::nullopt};
}

const std::vector<std::string> kWords = {"video", "social", "news",  "shop", "mail",   "forum",
                                         "photo", "music",  "games", "maps", "travel", "blog",
                                         "wiki",  "sport",  "food",  "tech"};

std::string domainName(std::mt19937& random, int index) {
    return kWords[random() % kWords.size()] + std::to_string(index) + kWords[random() % kWords.size()] +
           ".com";
}

// 1,000 rules: exact, prefix, infix and suffix patterns in turn; every tenth rule allows.
std::vector<BlockRule> makeRules() {
    std::mt19937 random(1234);
    std::vector<BlockRule> rules;
    for (int i = 0; i < 1000; ++i) {
        const std::string domain = domainName(random, i);
        std::string pattern;
        switch (i % 4) {
        case 0:
            pattern = domain;
            break; // exact
        case 1:
            pattern = "www." + domain + "/*";
            break; // prefix
        case 2:
            pattern = "*" + domain + "/" + kWords[i % 16] + "/*";
            break; // infix
        default:
            pattern = "*." + domain;
            break; // suffix
        }
        rules.push_back(makeRule(pattern, i % 10 == 9 ? RuleAction::allow : RuleAction::block));
    }
    return rules;
}

// 200 URLs of 80 to 150 characters, one in ten with non-ASCII text in its path; about one in five
// lands on a domain that some rule names.
std::vector<std::string> makeUrls() {
    std::mt19937 random(5678);
    std::vector<std::string> urls;
    for (int i = 0; i < 200; ++i) {
        const int domainIndex = static_cast<int>(random() % 5000); // most fall outside the 1,000 rules
        std::mt19937 domainRandom(1234);
        std::string domain = "site" + std::to_string(domainIndex) + ".example.org";
        if (domainIndex < 1000) {
            // Rebuild the rule's domain so that this URL can be caught.
            for (int j = 0; j <= domainIndex; ++j) {
                domain = domainName(domainRandom, j);
            }
        }
        std::string url = (i % 3 == 0 ? "http://" : "https://") + std::string(i % 2 ? "www." : "m.") +
                          domain + "/" + kWords[random() % kWords.size()] + "/";
        const std::size_t length = 80 + random() % 71;
        while (url.size() < length) {
            if (i % 10 == 0 && random() % 3 == 0) {
                url += "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E-caf\xC3\xA9/"; // 日本語-café/
            } else {
                url += kWords[random() % kWords.size()];
                url += random() % 4 == 0 ? "?id=" : "-";
            }
        }
        url.resize(length);
        // Keep the cut from splitting a UTF-8 sequence.
        while (!url.empty() && (static_cast<unsigned char>(url.back()) & 0xC0) == 0x80) {
            url.pop_back();
        }
        if (!url.empty() && static_cast<unsigned char>(url.back()) >= 0xC0) {
            url.pop_back();
        }
        urls.push_back(url);
    }
    return urls;
}

void BM_MatchTwoHundredUrlsAgainstThousandRules(benchmark::State& state) {
    const CompiledRules rules = DomainMatcher::compile(makeRules());
    const std::vector<std::string> urls = makeUrls();
    int caught = 0;
    for (auto _ : state) {
        caught = 0;
        for (const auto& url : urls) {
            const auto rule = DomainMatcher::match(url, rules);
            caught += rule.has_value() ? 1 : 0;
            benchmark::DoNotOptimize(rule);
        }
    }
    state.counters["caught"] = caught;
    state.counters["pairs"] = 200.0 * 1000.0;
}
BENCHMARK(BM_MatchTwoHundredUrlsAgainstThousandRules)->Unit(benchmark::kMicrosecond);

void BM_CompileThousandRules(benchmark::State& state) {
    const std::vector<BlockRule> rules = makeRules();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DomainMatcher::compile(rules));
    }
}
BENCHMARK(BM_CompileThousandRules)->Unit(benchmark::kMicrosecond);

std::string adversarialPattern() {
    std::string pattern;
    for (int i = 0; i < 59; ++i) {
        pattern += "*a";
    }
    return pattern + "b";
}

// 100 patterns of "*a" x 59 + "b" against 100 subjects of 2,000 "a": plain backtracking never ends.
void BM_AdversarialGlob(benchmark::State& state) {
    const std::vector<std::string> patterns(100, adversarialPattern());
    const std::vector<std::string> subjects(100, std::string(2000, 'a'));
    for (auto _ : state) {
        int matched = 0;
        for (const auto& pattern : patterns) {
            for (const auto& subject : subjects) {
                matched += DomainMatcher::glob(pattern, subject) ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(matched);
    }
}
BENCHMARK(BM_AdversarialGlob)->Unit(benchmark::kMillisecond);

// The same with a star at the end, so that every piece has to be searched for in turn.
void BM_AdversarialGlobOpenEnd(benchmark::State& state) {
    const std::vector<std::string> patterns(100, adversarialPattern() + "*");
    const std::vector<std::string> subjects(100, std::string(2000, 'a'));
    for (auto _ : state) {
        int matched = 0;
        for (const auto& pattern : patterns) {
            for (const auto& subject : subjects) {
                matched += DomainMatcher::glob(pattern, subject) ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(matched);
    }
}
BENCHMARK(BM_AdversarialGlobOpenEnd)->Unit(benchmark::kMillisecond);

void BM_AdversarialRules(benchmark::State& state) {
    const CompiledRules rules = DomainMatcher::compile(
        std::vector<BlockRule>(100, makeRule(adversarialPattern(), RuleAction::block)));
    const std::vector<std::string> urls(100, std::string(2000, 'a'));
    for (auto _ : state) {
        int caught = 0;
        for (const auto& url : urls) {
            caught += DomainMatcher::match(url, rules).has_value() ? 1 : 0;
        }
        benchmark::DoNotOptimize(caught);
    }
}
BENCHMARK(BM_AdversarialRules)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
