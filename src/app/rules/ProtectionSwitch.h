#pragma once

#include "domain/Uuid.h"

namespace kivo {

class BlockRuleStore;
class ShieldOverlayController;

// The on/off switches of groups and rules. Each request is decided from the record the store holds when
// the user clicks, never from the row it was drawn from, and moves the flag to the value asked for: a
// stale row or a second quick click can neither flip protection off behind the wait nor undo a change.
namespace ProtectionSwitch {

enum class Outcome {
    unchanged,       // no such record, or the flag is already there
    switched,        // the store holds the new value
    waitingOnShield, // the shield was asked to count down; its completion switches off
};

// What a switch shows once `asked` was requested: the value the store holds, which stays on while the
// shield counts down.
bool shownValue(Outcome outcome, bool asked);

Outcome setGroupEnabled(BlockRuleStore& store, ShieldOverlayController& shield, const Uuid& groupId,
                        bool enabled);
Outcome setRuleEnabled(BlockRuleStore& store, ShieldOverlayController& shield, const Uuid& groupId,
                       const Uuid& ruleId, bool enabled);

} // namespace ProtectionSwitch
} // namespace kivo
