#include "app/brightness/BrightnessTriggerStore.h"
#include "app/rules/BlockRuleStore.h"
#include "core/ManualClock.h"
#include "domain/DayOfWeekGroups.h"
#include "settings/MemoryDefaultsStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kivo {
namespace {

BrightnessTrigger trigger(const std::string& name, std::int64_t minutes, bool enabled = true) {
    return BrightnessTrigger(Uuid::random(), name, minutes, DayOfWeekGroups::allDays(), {{"Studio", 0.5}},
                             enabled, false);
}

struct StoreRig {
    MemoryDefaultsStore defaults;
    std::unique_ptr<BrightnessTriggerStore> store;
    int changes = 0;

    explicit StoreRig(std::optional<std::vector<BrightnessTrigger>> stored = std::nullopt) {
        if (stored) {
            defaults.plant(BrightnessTriggerStore::kDefaultsKey,
                           BrightnessTrigger::encodeList(*stored).value());
        }
        reopen();
    }
    void reopen() {
        store = std::make_unique<BrightnessTriggerStore>(defaults, "Sunrise", "Sunset");
        changes = 0;
        QObject::connect(store.get(), &BrightnessTriggerStore::triggersChanged, [this] { ++changes; });
    }
    std::vector<BrightnessTrigger> stored() const {
        return BrightnessTrigger::decodeList(*defaults.value(BrightnessTriggerStore::kDefaultsKey)).value();
    }
};

TEST(BrightnessTriggerStoreTest, FirstLaunchHasTwoDisabledSeedsAndStoresNothing) {
    StoreRig rig;
    const auto& seeds = rig.store->triggers();
    ASSERT_EQ(seeds.size(), 2u);
    EXPECT_EQ(seeds[0].name(), "Sunrise");
    EXPECT_EQ(seeds[0].timeMinutes(), 330);
    EXPECT_EQ(seeds[1].name(), "Sunset");
    EXPECT_EQ(seeds[1].timeMinutes(), 1170);
    for (const auto& seed : seeds) {
        EXPECT_FALSE(seed.isEnabled());
        EXPECT_FALSE(seed.appliesOnWake());
        EXPECT_TRUE(seed.displayBrightness().empty());
        EXPECT_EQ(seed.daysOfWeek(), DayOfWeekGroups::allDays());
    }
    EXPECT_FALSE(rig.defaults.contains(BrightnessTriggerStore::kDefaultsKey));
    EXPECT_EQ(rig.defaults.writeCount(), 0);
}

TEST(BrightnessTriggerStoreTest, AnUnreadableStoredValueGivesTheSeedsAndIsKeptAsideWhenReplaced) {
    const nlohmann::json unreadable[] = {"not a list", nlohmann::json::array({{{"id", "x"}}}), 42};
    for (const auto& value : unreadable) {
        StoreRig rig;
        rig.defaults.plant(BrightnessTriggerStore::kDefaultsKey, value);
        rig.reopen();
        ASSERT_EQ(rig.store->triggers().size(), 2u) << value;
        EXPECT_EQ(rig.defaults.value(BrightnessTriggerStore::kDefaultsKey), value) << "loading never writes";

        rig.store->addTrigger(trigger("Noon", 720));
        EXPECT_EQ(rig.stored().size(), 3u);
        EXPECT_EQ(
            rig.defaults.value(DefaultsStore::copyKeyPrefix(BrightnessTriggerStore::kDefaultsKey) + "1"),
            value);
    }
}

TEST(BrightnessTriggerStoreTest, EachOperationSavesAndAnnouncesOnce) {
    const auto a = trigger("A", 60);
    const auto b = trigger("B", 120);
    struct Case {
        const char* name;
        std::function<void(BrightnessTriggerStore&)> operation;
        std::vector<std::string> names; // of the list afterwards, as stored
        int writes;                     // the database itself skips rewriting an equal value
        int announcements;
    };
    const Case cases[] = {
        {"add goes last", [](auto& s) { s.addTrigger(trigger("C", 30)); }, {"A", "B", "C"}, 1, 1},
        {"update", [&](auto& s) { s.updateTrigger(b.withName("B2")); }, {"A", "B2"}, 1, 1},
        {"update unknown", [](auto& s) { s.updateTrigger(trigger("X", 5)); }, {"A", "B"}, 0, 0},
        {"delete", [&](auto& s) { s.deleteTrigger(a.id()); }, {"B"}, 1, 1},
        {"delete unknown", [](auto& s) { s.deleteTrigger(Uuid::random()); }, {"A", "B"}, 0, 1},
        {"toggle", [&](auto& s) { s.toggleTrigger(b.id()); }, {"A", "B"}, 1, 1},
        {"toggle unknown", [](auto& s) { s.toggleTrigger(Uuid::random()); }, {"A", "B"}, 0, 0},
        {"assign equal list",
         [&](auto& s) {
             s.setTriggers({a, b});
         },
         {"A", "B"},
         0,
         0},
        {"assign other list", [&](auto& s) { s.setTriggers({b}); }, {"B"}, 1, 1},
    };
    for (const auto& c : cases) {
        StoreRig rig({{a, b}});
        const int before = rig.defaults.writeCount();
        c.operation(*rig.store);
        EXPECT_EQ(rig.defaults.writeCount() - before, c.writes) << c.name;
        EXPECT_EQ(rig.changes, c.announcements) << c.name;
        std::vector<std::string> names;
        for (const auto& t : rig.stored()) {
            names.push_back(t.name());
        }
        EXPECT_EQ(names, c.names) << c.name;
        EXPECT_EQ(rig.stored(), rig.store->triggers()) << c.name;
    }
}

TEST(BrightnessTriggerStoreTest, ToggleFlipsOnlyTheFirstWithThatIdentifier) {
    const auto a = trigger("A", 60, true);
    StoreRig rig({{a, a.withName("A copy")}});
    rig.store->toggleTrigger(a.id());
    EXPECT_FALSE(rig.stored()[0].isEnabled());
    EXPECT_TRUE(rig.stored()[1].isEnabled());
}

TEST(BrightnessTriggerStoreTest, AnEditFromAnOlderCopyKeepsChangesMadeMeanwhile) {
    const auto a = trigger("A", 60, true);
    StoreRig rig({{a}});
    const BrightnessTrigger snapshot = rig.store->triggers()[0]; // an editor opens
    rig.store->toggleTrigger(a.id());                            // the list's switch meanwhile
    rig.store->updateTrigger(a.id(), [&](const BrightnessTrigger& current) {
        return current.withName("Renamed").withTimeMinutes(snapshot.timeMinutes() + 15);
    });
    EXPECT_EQ(rig.stored()[0].name(), "Renamed");
    EXPECT_EQ(rig.stored()[0].timeMinutes(), 75);
    EXPECT_FALSE(rig.stored()[0].isEnabled());

    // An edit of a trigger deleted meanwhile does not bring it back.
    rig.store->deleteTrigger(a.id());
    rig.store->updateTrigger(snapshot.withName("Back"));
    EXPECT_TRUE(rig.stored().empty());
}

TEST(BrightnessTriggerStoreTest, AListThatCannotBeEncodedLeavesTheStoredOneAlone) {
    const auto a = trigger("A", 60);
    StoreRig rig({{a}});
    const auto before = rig.defaults.value(BrightnessTriggerStore::kDefaultsKey);
    rig.store->updateTrigger(a.withDisplayBrightness({{"Studio", std::numeric_limits<double>::quiet_NaN()}}));
    EXPECT_EQ(rig.defaults.value(BrightnessTriggerStore::kDefaultsKey), before);
}

TEST(BrightnessTriggerStoreTest, SeedsFollowTheLanguageUnlessRenamed) {
    const std::set<std::string> sunrises{"日の出", "Sunrise", "일출"};
    const std::set<std::string> sunsets{"日の入り", "Sunset", "일몰"};
    const auto ja = trigger("日の出", 330);
    const auto custom = trigger("Morning walk", 400);
    const auto already = trigger("일출", 340);
    const auto evening = trigger("Sunset", 1170);
    StoreRig rig({{ja, custom, already, evening}});
    const int before = rig.defaults.writeCount();
    rig.store->renameSeedTriggers(sunrises, "일출", sunsets, "일몰");
    std::vector<std::string> names;
    for (const auto& t : rig.stored()) {
        names.push_back(t.name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"일출", "Morning walk", "일출", "일몰"}));
    EXPECT_EQ(rig.defaults.writeCount() - before, 2); // one save per rename, none for the rest
    EXPECT_EQ(rig.changes, 2);
    EXPECT_EQ(rig.stored()[0].id(), ja.id());
}

TEST(BrightnessTriggerStoreTest, SeedNamesCompareLikeTheDefaultGroupName) {
    // The same Korean names composed (as typed) and decomposed (as some file systems and editors keep them).
    const std::string sunrise = "일출";
    const std::string sunriseDecomposed = "\u110b\u1175\u11af\u110e\u116e\u11af";
    const std::string sunset = "일몰";
    const std::string sunsetDecomposed = "\u110b\u1175\u11af\u1106\u1169\u11af";
    struct Case {
        const char* name;
        std::string stored;
        std::string newName;
        bool renamed;
    };
    const Case cases[] = {
        {"a decomposed seed name is a seed name", sunriseDecomposed, "Sunrise", true},
        {"already bears the new name, decomposed", sunrise, sunriseDecomposed, false},
        {"already bears the new name, composed", sunriseDecomposed, sunrise, false},
        {"a plain seed name", "Sunrise", sunrise, true},
        {"a user's own name", "Sunrise walk", sunrise, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreRig rig({{trigger(c.stored, 330), trigger(sunsetDecomposed, 1170)}});
        const int before = rig.defaults.writeCount();
        rig.store->renameSeedTriggers({"Sunrise", sunrise}, c.newName, {"Sunset", sunset}, "Sunset");
        EXPECT_EQ(rig.store->triggers()[0].name(), c.renamed ? c.newName : c.stored);
        EXPECT_EQ(rig.store->triggers()[1].name(), "Sunset");
        EXPECT_EQ(rig.defaults.writeCount() - before, c.renamed ? 2 : 1);

        // The default group answers the same for the same names.
        MemoryDefaultsStore defaults;
        ManualClock clock;
        BlockRuleStore groups(defaults, c.stored, clock);
        groups.renameDefaultGroup({"Sunrise", sunrise}, c.newName);
        EXPECT_EQ(groups.groups()[0].name, c.renamed ? c.newName : c.stored);
    }
}

TEST(BrightnessTriggerStoreTest, ASavedListReadsBackEqual) {
    StoreRig rig;
    rig.store->addTrigger(trigger("Noon", 720));
    const auto saved = rig.store->triggers();
    rig.reopen();
    EXPECT_EQ(rig.store->triggers(), saved);
}

} // namespace
} // namespace kivo
