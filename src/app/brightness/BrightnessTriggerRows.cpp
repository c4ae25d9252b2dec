#include "app/brightness/BrightnessTriggerRows.h"

#include "app/brightness/BrightnessController.h"
#include "app/brightness/BrightnessTriggerStore.h"

#include <algorithm>
#include <cmath>

namespace kivo::BrightnessTriggerRows {

std::string brightnessSummary(const BrightnessTrigger& trigger) {
    std::string result;
    for (const auto& [name, level] : trigger.displayBrightness()) { // a map iterates by name
        if (!result.empty()) {
            result += " / ";
        }
        const double percent = level * 100.0;
        const long long whole =
            std::isfinite(percent) ? static_cast<long long>(std::trunc(std::clamp(percent, -1e15, 1e15))) : 0;
        result += name + " " + std::to_string(whole) + "%";
    }
    return result;
}

void setTriggerEnabled(BrightnessTriggerStore& store, BrightnessController& controller, const Uuid& id,
                       bool enabled) {
    const auto& triggers = store.triggers();
    const auto live = std::find_if(triggers.begin(), triggers.end(),
                                   [&](const BrightnessTrigger& t) { return t.id() == id; });
    if (live == triggers.end() || live->isEnabled() == enabled) {
        return;
    }
    store.updateTrigger(id, [enabled](const BrightnessTrigger& t) { return t.withIsEnabled(enabled); });
    controller.setStore(&store);
    controller.applyCurrentTrigger();
}

} // namespace kivo::BrightnessTriggerRows
