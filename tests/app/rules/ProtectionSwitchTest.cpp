#include "app/rules/ProtectionSwitch.h"
#include "app/rules/BlockRuleStore.h"
#include "app/shield/ShieldOverlayController.h"
#include "core/ManualClock.h"
#include "platform/simulated/SimulatedShieldWindowSystem.h"
#include "settings/MemoryDefaultsStore.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace kivo {
namespace {

using Outcome = ProtectionSwitch::Outcome;

struct SwitchRig {
    ManualClock clock;
    MemoryDefaultsStore defaults;
    BlockRuleStore store{defaults, "Blocklist", clock};
    SimulatedShieldWindowSystem windows;
    ShieldOverlayController shield{windows, clock, clock};
    Uuid groupId = Uuid::random();
    Uuid ruleId = Uuid::random();

    SwitchRig(bool groupOn, UnlockPolicy policy, bool ruleOn = true) {
        store.setGroups({BlockRuleGroup{groupId,
                                        "Work",
                                        groupOn,
                                        {BlockRule{ruleId, "*a.example*", ruleOn, RuleAction::block, {}, {}}},
                                        false,
                                        BlockSchedule::always(),
                                        policy,
                                        {},
                                        {}}});
    }
    const BlockRuleGroup& group() const { return store.groups().back(); }
};

TEST(ProtectionSwitchTest, EachRequestIsDecidedFromTheStoredRecord) {
    const auto wait = UnlockPolicy::waitToUnlock(10);
    struct Case {
        const char* name;
        bool groupOn;
        UnlockPolicy policy;
        bool ruleOn;
        bool forRule;
        bool requested;
        Outcome outcome;
        bool groupAfter;
        bool ruleAfter;
    };
    const Case cases[] = {
        {"group off, waiting policy", true, wait, true, false, false, Outcome::waitingOnShield, true, true},
        {"group off, zero-second wait still asks", true, UnlockPolicy::waitToUnlock(0), true, false, false,
         Outcome::waitingOnShield, false, true},
        {"group off, backoff", true, UnlockPolicy::waitWithBackoff(5, {}), true, false, false,
         Outcome::waitingOnShield, true, true},
        {"group off, instant", true, UnlockPolicy::instant(), true, false, false, Outcome::switched, false,
         true},
        {"group on never waits", false, wait, true, false, true, Outcome::switched, true, true},
        // A stale row still showing the group on: asking for on must not flip it off.
        {"group already on", true, wait, true, false, true, Outcome::unchanged, true, true},
        {"group already off", false, wait, true, false, false, Outcome::unchanged, false, true},
        {"rule off, enabled group waits", true, wait, true, true, false, Outcome::waitingOnShield, true,
         true},
        {"rule off, disabled group", false, wait, true, true, false, Outcome::switched, false, false},
        {"rule off, instant group", true, UnlockPolicy::instant(), true, true, false, Outcome::switched, true,
         false},
        {"rule on never waits", true, wait, false, true, true, Outcome::switched, true, true},
        {"rule already on", true, wait, true, true, true, Outcome::unchanged, true, true},
    };
    for (const auto& c : cases) {
        SwitchRig rig(c.groupOn, c.policy, c.ruleOn);
        const Outcome outcome =
            c.forRule ? ProtectionSwitch::setRuleEnabled(rig.store, rig.shield, rig.groupId, rig.ruleId,
                                                         c.requested)
                      : ProtectionSwitch::setGroupEnabled(rig.store, rig.shield, rig.groupId, c.requested);
        EXPECT_EQ(outcome, c.outcome) << c.name;
        const bool unchanged = c.groupAfter == c.groupOn && c.ruleAfter == c.ruleOn;
        EXPECT_EQ(rig.shield.isShown(), c.outcome == Outcome::waitingOnShield && unchanged) << c.name;
        EXPECT_EQ(rig.group().isEnabled, c.groupAfter) << c.name;
        EXPECT_EQ(rig.group().rules[0].isEnabled, c.ruleAfter) << c.name;
    }
}

TEST(ProtectionSwitchTest, TheShieldCompletionSetsOffAndAQuickSecondClickCannotSkipTheWait) {
    for (const bool forRule : {false, true}) {
        SwitchRig rig(true, UnlockPolicy::waitToUnlock(3));
        auto request = [&](bool on) {
            return forRule
                       ? ProtectionSwitch::setRuleEnabled(rig.store, rig.shield, rig.groupId, rig.ruleId, on)
                       : ProtectionSwitch::setGroupEnabled(rig.store, rig.shield, rig.groupId, on);
        };
        auto isOn = [&] { return forRule ? rig.group().rules[0].isEnabled : rig.group().isEnabled; };
        EXPECT_EQ(request(false), Outcome::waitingOnShield);
        // The second click hits the shield that is already up and changes nothing.
        EXPECT_EQ(request(false), Outcome::waitingOnShield);
        EXPECT_TRUE(isOn());
        // Switched off by other means while counting: the completion leaves it off instead of flipping it.
        if (forRule) {
            rig.store.setRuleEnabled(rig.groupId, rig.ruleId, false);
        } else {
            rig.store.setGroupEnabled(rig.groupId, false);
        }
        rig.clock.advance(1s);
        rig.clock.advance(1s);
        rig.clock.advance(1s);
        EXPECT_FALSE(rig.shield.isShown()) << forRule;
        EXPECT_FALSE(isOn()) << forRule;
        rig.clock.advance(1s);
        EXPECT_FALSE(isOn()) << forRule;
    }
}

TEST(ProtectionSwitchTest, ACancelledShieldLeavesProtectionOnAndAGoneRecordChangesNothing) {
    SwitchRig rig(true, UnlockPolicy::waitToUnlock(10));
    ProtectionSwitch::setGroupEnabled(rig.store, rig.shield, rig.groupId, false);
    rig.shield.dismiss(false);
    EXPECT_TRUE(rig.group().isEnabled);
    EXPECT_EQ(ProtectionSwitch::setGroupEnabled(rig.store, rig.shield, Uuid::random(), false),
              Outcome::unchanged);
    EXPECT_EQ(ProtectionSwitch::setRuleEnabled(rig.store, rig.shield, rig.groupId, Uuid::random(), false),
              Outcome::unchanged);
}

} // namespace
} // namespace kivo
