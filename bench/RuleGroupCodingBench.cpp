// Reading and writing the stored rule groups: 1,000 groups of 10 rules, decoded from text and written back.
#include "domain/BlockRuleGroup.h"
#include "domain/Json.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace kivo;

std::vector<BlockRuleGroup> makeGroups() {
    std::vector<BlockRuleGroup> groups;
    for (int g = 0; g < 1000; ++g) {
        std::vector<BlockRule> rules;
        for (int r = 0; r < 10; ++r) {
            const std::string pattern =
                "*site" + std::to_string(g) + "-" + std::to_string(r) + ".example.com/*";
            BlockRule rule{Uuid::random(), pattern,
                           r % 2 == 0,     r == 9 ? RuleAction::allow : RuleAction::block,
                           std::nullopt,   std::nullopt};
            if (r == 3) {
                rule = rule.withRedirectURL(Url::parse("https://stop.example.org/page?from=kivo"))
                           .withAppendsQueryParameters(false);
            }
            rules.push_back(rule);
        }
        BlockSchedule schedule =
            g % 2 == 0 ? BlockSchedule::always()
                       : BlockSchedule::recurring({{DayOfWeek::monday, DayOfWeek::friday}, {{540, 1020}}});
        groups.push_back(BlockRuleGroup{
            Uuid::random(), "Group " + std::to_string(g), true, std::move(rules), g == 0, schedule,
            UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(6)), std::nullopt, true});
    }
    return groups;
}

void BM_DecodeAndReencodeThousandGroups(benchmark::State& state) {
    const std::string text = Json::serialize(Json::encodeList(makeGroups())).value();
    for (auto _ : state) {
        auto document = Json::parse(text);
        auto groups = Json::decodeList<BlockRuleGroup>(document.value());
        auto written = Json::serialize(Json::encodeList(groups.value()));
        benchmark::DoNotOptimize(written);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_DecodeAndReencodeThousandGroups)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
