// Stored rule-group lists: whatever decodes must encode, and read back to an equal list with the very
// same stored form. The decoded groups then go through the matching and redirect code that uses them.
#include "FuzzCheck.h"
#include "StoredRoundTrip.h"
#include "domain/BlockRuleGroup.h"
#include "domain/DomainMatcher.h"
#include "domain/RedirectResolver.h"
#include "domain/ShieldCountdownState.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto groups = storedRoundTrip(
        data, size, [](const Json::Value& v) { return Json::decode<std::vector<BlockRuleGroup>>(v); },
        [](const std::vector<BlockRuleGroup>& g) { return Json::encode(g); }, StoredForm::same);
    if (!groups) {
        return 0;
    }

    // The waits a stored policy asks for, at any unlock count, are whole countdowns that run down.
    for (const auto& group : *groups) {
        for (const std::int64_t count :
             {std::numeric_limits<std::int64_t>::min(), std::int64_t{-1}, std::int64_t{0}, std::int64_t{3},
              std::int64_t{64}, std::numeric_limits<std::int64_t>::max()}) {
            const auto countdown = ShieldCountdownState::forPolicy(group.unlockPolicy, count);
            FUZZ_CHECK(countdown.remainingSeconds >= 0);
            const double progress = countdown.ticked().progress();
            FUZZ_CHECK(progress >= 0.0 && progress <= 1.0);
        }
    }

    const auto prefixes = RedirectResolver::redirectPrefixes(*groups);
    constexpr std::int64_t minutes[] = {std::numeric_limits<std::int64_t>::min(), 0, 600, 1439,
                                        std::numeric_limits<std::int64_t>::max()};
    for (int weekday = 0; weekday <= 8; weekday += 2) {
        const auto rules = DomainMatcher::activeRules(*groups, weekday, minutes[weekday / 2]);
        const auto compiled = DomainMatcher::compile(rules);
        for (const auto& rule : rules) {
            // Every rule is tried against its own pattern as a URL: only an enabled block rule catches.
            if (const BlockRule* caught = compiled.match(rule.pattern)) {
                FUZZ_CHECK(caught->isEnabled && caught->action == RuleAction::block);
            }
            for (const auto& group : *groups) {
                const ResolvedRedirect target = RedirectResolver::resolve(rule, group);
                FUZZ_CHECK(RedirectResolver::isWebURL(target.url));
                FUZZ_CHECK(RedirectResolver::isRedirectTarget(target.url.text(), prefixes) ||
                           target.url == RedirectResolver::defaultShieldURL());
            }
        }
    }
    return 0;
}
