// Reading and writing the stored rule groups: 1,000 groups of 10 rules, from document text to values and
// back to text.
#include "domain/BlockRuleGroup.h"
#include "domain/Json.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace kivo;

std::vector<BlockRuleGroup> makeGroups() {
    std::vector<BlockRuleGroup> groups;
    for (int g = 0; g < 1000; ++g) {
        BlockRuleGroup group = BlockRuleGroup::makeDefault("group " + std::to_string(g)).front();
        std::vector<BlockRule> rules;
        for (int r = 0; r < 10; ++r) {
            BlockRule rule = group.rules[static_cast<std::size_t>(r % 5)];
            rule.id = Uuid::random();
            rule.pattern = "*site" + std::to_string(g) + "-" + std::to_string(r) + ".example.com/*";
            rule.action = r == 9 ? RuleAction::allow : RuleAction::block;
            if (r % 3 == 0) {
                rule.redirectURL = Url::parse("https://focus.example.org/page?from=" + std::to_string(r));
                rule.appendsQueryParameters = r % 2 == 0;
            }
            rules.push_back(rule);
        }
        group.rules = std::move(rules);
        if (g % 2 == 0) {
            group.schedule = BlockSchedule::recurring(RecurringSchedule{
                {DayOfWeek::monday, DayOfWeek::tuesday, DayOfWeek::friday}, {{540, 1020}, {1320, 360}}});
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

void BM_DecodeAndReencodeThousandGroups(benchmark::State& state) {
    const Result<std::string> document = Json::serialize(Json::encodeList(makeGroups()));
    if (!document.ok()) {
        state.SkipWithError("the groups could not be written");
        return;
    }
    std::size_t written = 0;
    for (auto _ : state) {
        const Result<Json::Value> parsed = Json::parse(document.value());
        const Result<std::vector<BlockRuleGroup>> groups = Json::decodeList<BlockRuleGroup>(parsed.value());
        if (!groups.ok() || groups.value().size() != 1000) {
            state.SkipWithError("the groups did not read back");
            return;
        }
        const Result<std::string> again = Json::serialize(Json::encodeList(groups.value()));
        written = again.value().size();
        benchmark::DoNotOptimize(written);
    }
    state.counters["documentBytes"] = static_cast<double>(written);
}
BENCHMARK(BM_DecodeAndReencodeThousandGroups)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
