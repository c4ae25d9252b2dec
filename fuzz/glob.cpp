// The glob matcher on a pattern (the first line) and a subject (the rest): it agrees with a plain
// dynamic-programming matcher over characters, and stays fast whatever the pattern.
#include "FuzzCheck.h"
#include "domain/ClusterText.h"
#include "domain/DomainMatcher.h"
#include "domain/Text.h"
#include "domain/WildcardPattern.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <time.h>

using namespace kivo;

namespace {

constexpr std::size_t kMaxInput = 4096;
// Preparing and matching 4 KiB takes a few milliseconds instrumented; backtracking would take seconds.
constexpr std::chrono::milliseconds kBudget{100};

// Processor time of this thread: wall time would count the moments a busy machine lets it wait.
std::chrono::nanoseconds threadTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// Whole-subject match where a cluster that is exactly "*" stands for any run of clusters and any other
// cluster for a canonically equivalent one. Quadratic, so only run on small inputs.
bool referenceMatch(std::string_view pattern, std::string_view subject) {
    const auto p = Text::graphemeClusters(pattern);
    const auto s = Text::graphemeClusters(subject);
    std::vector<std::string> ps(p.size()), ss(s.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
        ps[i] = Text::decomposed(p[i]);
    }
    for (std::size_t j = 0; j < s.size(); ++j) {
        ss[j] = Text::decomposed(s[j]);
    }
    // row[j]: the first i pattern clusters match the first j subject clusters.
    std::vector<char> row(s.size() + 1, 0);
    row[0] = 1;
    for (std::size_t i = 0; i < p.size(); ++i) {
        std::vector<char> next(s.size() + 1, 0);
        if (p[i] == "*") {
            char any = 0;
            for (std::size_t j = 0; j <= s.size(); ++j) {
                any = static_cast<char>(any | row[j]);
                next[j] = any;
            }
        } else {
            for (std::size_t j = 1; j <= s.size(); ++j) {
                next[j] = static_cast<char>(row[j - 1] && ps[i] == ss[j - 1]);
            }
        }
        row.swap(next);
    }
    return row[s.size()] != 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view pattern = input.substr(0, newline);
    const std::string_view subject =
        newline == std::string_view::npos ? std::string_view{} : input.substr(newline + 1);

    bool matched = false;
    bool viaCompiled = false;
    bool viaFingerprint = false;
    // The quickest of a few tries: a loaded machine slows a single run several-fold (shared caches and
    // cores), while a matcher that backtracks is slow every time.
    auto quickest = std::chrono::nanoseconds::max();
    for (int attempt = 0; attempt < 3 && quickest > kBudget; ++attempt) {
        const auto start = threadTime();
        matched = DomainMatcher::glob(pattern, subject);
        const ClusterText clusters = ClusterText::from(subject);
        const WildcardPattern compiled(pattern);
        viaCompiled = compiled.matches(clusters);
        viaFingerprint = compiled.matches(clusters, WildcardPattern::Fingerprint::of(clusters.bytes()));
        quickest = std::min(quickest, threadTime() - start);
    }
#ifdef KIVO_FUZZING
    FUZZ_CHECK(quickest <= kBudget);
#endif
    FUZZ_CHECK(matched == viaCompiled);
    FUZZ_CHECK(viaFingerprint == viaCompiled);
    if (Text::isValidUtf8(pattern) && Text::isValidUtf8(subject) &&
        pattern.size() * subject.size() <= 200'000) {
        FUZZ_CHECK(matched == referenceMatch(pattern, subject));
    }
    // A block rule catches a URL exactly when its lower-cased pattern globs the normalised URL.
    const BlockRule rule{Uuid{}, std::string(pattern), true, RuleAction::block, std::nullopt, std::nullopt};
    const bool caught = DomainMatcher::match(subject, std::vector<BlockRule>{rule}).has_value();
    FUZZ_CHECK(caught == DomainMatcher::glob(Text::lowercased(pattern), DomainMatcher::normalize(subject)));
    return 0;
}
