// Stored brightness triggers: decode, write, read again and compare; every decoded trigger keeps its
// minute within the day, and the evaluator picks only triggers it was given.
#include "FuzzCheck.h"
#include "StoredRoundTrip.h"
#include "domain/BrightnessTrigger.h"
#include "domain/BrightnessTriggerEvaluator.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto triggers =
        storedRoundTrip(data, size, &BrightnessTrigger::decodeList, &BrightnessTrigger::encodeList);
    if (!triggers) {
        return 0;
    }

    for (const auto& trigger : *triggers) {
        FUZZ_CHECK(trigger.timeMinutes() >= 0 && trigger.timeMinutes() <= BrightnessTrigger::lastMinuteOfDay);
        FUZZ_CHECK(trigger.formattedTime().size() == 5);
    }
    constexpr std::int64_t minutes[] = {std::numeric_limits<std::int64_t>::min(), -1, 0, 330, 1439, 1440,
                                        std::numeric_limits<std::int64_t>::max()};
    for (const DayOfWeek day : {DayOfWeek::sunday, DayOfWeek::wednesday, DayOfWeek::saturday}) {
        for (const std::int64_t minute : minutes) {
            const auto due = BrightnessTriggerEvaluator::dueTrigger(*triggers, day, minute);
            FUZZ_CHECK(!due || (due->isEnabled() && due->timeMinutes() <= minute));
            const auto wake = BrightnessTriggerEvaluator::dueWakeTrigger(*triggers, day, minute);
            FUZZ_CHECK(!wake || wake->appliesOnWake());
            const auto crossed =
                BrightnessTriggerEvaluator::crossedTrigger(*triggers, day, minutes[0], minute);
            FUZZ_CHECK(!crossed || crossed->timeMinutes() <= minute);
        }
    }
    return 0;
}
