#include "app/rules/ProtectionSwitch.h"

#include "app/rules/BlockRuleStore.h"
#include "app/shield/ShieldOverlayController.h"

#include <algorithm>

namespace kivo::ProtectionSwitch {
namespace {

const BlockRuleGroup* findGroup(const BlockRuleStore& store, const Uuid& groupId) {
    const auto& groups = store.groups();
    const auto it =
        std::find_if(groups.begin(), groups.end(), [&](const BlockRuleGroup& g) { return g.id == groupId; });
    return it == groups.end() ? nullptr : &*it;
}

} // namespace

bool shownValue(Outcome outcome, bool asked) {
    return outcome == Outcome::waitingOnShield ? !asked : asked;
}

Outcome setGroupEnabled(BlockRuleStore& store, ShieldOverlayController& shield, const Uuid& groupId,
                        bool enabled) {
    const BlockRuleGroup* group = findGroup(store, groupId);
    if (group == nullptr || group->isEnabled == enabled) {
        return Outcome::unchanged;
    }
    if (!enabled && !group->canDisableWithoutUnlock()) {
        // The completion sets the flag off rather than toggling it: by the time it runs the group may
        // have been switched by other means.
        shield.present(*group, store, [groupId](BlockRuleStore& s) { s.setGroupEnabled(groupId, false); });
        return Outcome::waitingOnShield;
    }
    store.setGroupEnabled(groupId, enabled);
    return Outcome::switched;
}

Outcome setRuleEnabled(BlockRuleStore& store, ShieldOverlayController& shield, const Uuid& groupId,
                       const Uuid& ruleId, bool enabled) {
    const BlockRuleGroup* group = findGroup(store, groupId);
    if (group == nullptr) {
        return Outcome::unchanged;
    }
    const auto rule = std::find_if(group->rules.begin(), group->rules.end(),
                                   [&](const BlockRule& r) { return r.id == ruleId; });
    if (rule == group->rules.end() || rule->isEnabled == enabled) {
        return Outcome::unchanged;
    }
    if (!enabled && !rule->canDisableWithoutUnlock(*group)) {
        shield.present(*group, store,
                       [groupId, ruleId](BlockRuleStore& s) { s.setRuleEnabled(groupId, ruleId, false); });
        return Outcome::waitingOnShield;
    }
    store.setRuleEnabled(groupId, ruleId, enabled);
    return Outcome::switched;
}

} // namespace kivo::ProtectionSwitch
