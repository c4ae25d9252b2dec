// Stored rule-group lists: whatever decodes must encode, and read back to an equal list with the very
// same stored form. The decoded groups then go through the matching and redirect code that uses them.
#include "FuzzCheck.h"
#include "domain/BlockRuleGroup.h"
#include "domain/DomainMatcher.h"
#include "domain/RedirectResolver.h"
#include "domain/ShieldCountdownState.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto document = Json::parse(text);
    if (!document.ok()) {
        return 0;
    }
    const auto groups = Json::decode<std::vector<BlockRuleGroup>>(document.value());
    if (!groups.ok()) {
        return 0;
    }
    const Json::Value stored = Json::encode(groups.value());
    const auto written = Json::serialize(stored);
    FUZZ_CHECK(written.ok());
    const auto reparsed = Json::parse(written.value());
    FUZZ_CHECK(reparsed.ok());
    const auto again = Json::decode<std::vector<BlockRuleGroup>>(reparsed.value());
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.value() == groups.value());
    FUZZ_CHECK(Json::encode(again.value()) == stored);

    // The waits a stored policy asks for, at any unlock count, are whole countdowns that run down.
    for (const auto& group : groups.value()) {
        for (const std::int64_t count :
             {std::numeric_limits<std::int64_t>::min(), std::int64_t{-1}, std::int64_t{0}, std::int64_t{3},
              std::int64_t{64}, std::numeric_limits<std::int64_t>::max()}) {
            const auto countdown = ShieldCountdownState::forPolicy(group.unlockPolicy, count);
            FUZZ_CHECK(countdown.remainingSeconds >= 0);
            const double progress = countdown.ticked().progress();
            FUZZ_CHECK(progress >= 0.0 && progress <= 1.0);
        }
    }

    const auto prefixes = RedirectResolver::redirectPrefixes(groups.value());
    constexpr std::int64_t minutes[] = {std::numeric_limits<std::int64_t>::min(), 0, 600, 1439,
                                        std::numeric_limits<std::int64_t>::max()};
    for (int weekday = 0; weekday <= 8; weekday += 2) {
        const auto rules = DomainMatcher::activeRules(groups.value(), weekday, minutes[weekday / 2]);
        const auto compiled = DomainMatcher::compile(rules);
        for (const auto& rule : rules) {
            // Every rule is tried against its own pattern as a URL: only an enabled block rule catches.
            if (const BlockRule* caught = compiled.match(rule.pattern)) {
                FUZZ_CHECK(caught->isEnabled && caught->action == RuleAction::block);
            }
            for (const auto& group : groups.value()) {
                const ResolvedRedirect target = RedirectResolver::resolve(rule, group);
                FUZZ_CHECK(RedirectResolver::isWebURL(target.url));
                FUZZ_CHECK(RedirectResolver::isRedirectTarget(target.url.text(), prefixes) ||
                           target.url == RedirectResolver::defaultShieldURL());
            }
        }
    }
    return 0;
}
