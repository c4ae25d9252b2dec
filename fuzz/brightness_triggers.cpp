// Stored brightness triggers: decode, write, read again and compare; every decoded trigger keeps its
// minute within the day, and the evaluator picks only triggers it was given.
#include "FuzzCheck.h"
#include "domain/BrightnessTrigger.h"
#include "domain/BrightnessTriggerEvaluator.h"

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
    const auto triggers = BrightnessTrigger::decodeList(document.value());
    if (!triggers.ok()) {
        return 0;
    }
    const auto stored = BrightnessTrigger::encodeList(triggers.value());
    FUZZ_CHECK(stored.ok());
    const auto written = Json::serialize(stored.value());
    FUZZ_CHECK(written.ok());
    const auto reparsed = Json::parse(written.value());
    FUZZ_CHECK(reparsed.ok());
    const auto again = BrightnessTrigger::decodeList(reparsed.value());
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.value() == triggers.value());

    for (const auto& trigger : triggers.value()) {
        FUZZ_CHECK(trigger.timeMinutes() >= 0 && trigger.timeMinutes() <= BrightnessTrigger::lastMinuteOfDay);
        FUZZ_CHECK(trigger.formattedTime().size() == 5);
    }
    constexpr std::int64_t minutes[] = {std::numeric_limits<std::int64_t>::min(), -1, 0, 330, 1439, 1440,
                                        std::numeric_limits<std::int64_t>::max()};
    for (const DayOfWeek day : {DayOfWeek::sunday, DayOfWeek::wednesday, DayOfWeek::saturday}) {
        for (const std::int64_t minute : minutes) {
            const auto due = BrightnessTriggerEvaluator::dueTrigger(triggers.value(), day, minute);
            FUZZ_CHECK(!due || (due->isEnabled() && due->timeMinutes() <= minute));
            const auto wake = BrightnessTriggerEvaluator::dueWakeTrigger(triggers.value(), day, minute);
            FUZZ_CHECK(!wake || wake->appliesOnWake());
            const auto crossed =
                BrightnessTriggerEvaluator::crossedTrigger(triggers.value(), day, minutes[0], minute);
            FUZZ_CHECK(!crossed || crossed->timeMinutes() <= minute);
        }
    }
    return 0;
}
