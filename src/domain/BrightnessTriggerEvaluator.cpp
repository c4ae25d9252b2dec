#include "domain/BrightnessTriggerEvaluator.h"

namespace kivo::BrightnessTriggerEvaluator {

namespace {

// The latest passing trigger in [from, to]; a later one replaces the choice only with a strictly later
// time, so the first in list order wins among equals.
template <class Accept>
std::optional<BrightnessTrigger> latestIn(const std::vector<BrightnessTrigger>& triggers, DayOfWeek day,
                                          std::int64_t from, std::int64_t to, Accept accept) {
    const BrightnessTrigger* chosen = nullptr;
    for (const BrightnessTrigger& trigger : triggers) {
        const std::int64_t time = trigger.timeMinutes();
        if (!trigger.isEnabled() || !accept(trigger) || trigger.daysOfWeek().count(day) == 0 || time < from ||
            time > to) {
            continue;
        }
        if (chosen == nullptr || time > chosen->timeMinutes()) {
            chosen = &trigger;
        }
    }
    if (chosen == nullptr) {
        return std::nullopt;
    }
    return *chosen;
}

constexpr std::int64_t kBeforeEveryTrigger = -1;

} // namespace

std::optional<BrightnessTrigger> dueTrigger(const std::vector<BrightnessTrigger>& triggers, DayOfWeek day,
                                            std::int64_t minute) {
    return latestIn(triggers, day, kBeforeEveryTrigger, minute,
                    [](const BrightnessTrigger&) { return true; });
}

std::optional<BrightnessTrigger> dueWakeTrigger(const std::vector<BrightnessTrigger>& triggers, DayOfWeek day,
                                                std::int64_t minute) {
    return latestIn(triggers, day, kBeforeEveryTrigger, minute,
                    [](const BrightnessTrigger& trigger) { return trigger.appliesOnWake(); });
}

std::optional<BrightnessTrigger> crossedTrigger(const std::vector<BrightnessTrigger>& triggers, DayOfWeek day,
                                                std::int64_t previousMinute, std::int64_t currentMinute) {
    if (currentMinute <= previousMinute) {
        return std::nullopt;
    }
    // previousMinute < time, without computing previousMinute + 1 (which could overflow).
    return latestIn(
        triggers, day, previousMinute, currentMinute,
        [previousMinute](const BrightnessTrigger& t) { return t.timeMinutes() > previousMinute; });
}

} // namespace kivo::BrightnessTriggerEvaluator
