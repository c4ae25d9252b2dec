#pragma once

#include "domain/BrightnessTrigger.h"
#include "domain/Uuid.h"

#include <string>

namespace kivo {

class BrightnessController;
class BrightnessTriggerStore;

// What the trigger list shows of a trigger and what its switch does.
namespace BrightnessTriggerRows {

// "Built-in 100% / Display 2 50%": by display name, levels truncated to whole percent.
std::string brightnessSummary(const BrightnessTrigger& trigger);
// Moves the stored trigger to the value asked for (a stale row cannot flip it the wrong way), then lets
// the displays follow the changed set of enabled triggers at once.
void setTriggerEnabled(BrightnessTriggerStore& store, BrightnessController& controller, const Uuid& id,
                       bool enabled);

} // namespace BrightnessTriggerRows
} // namespace kivo
