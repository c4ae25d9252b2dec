#include "app/rules/BlockRuleStore.h"
#include "core/ManualClock.h"
#include "settings/FileDefaultsStore.h"
#include "settings/MemoryDefaultsStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>
#include <string>
#include <vector>

namespace kivo {
namespace {

const std::string kSeedName = "Blocklist";

BlockRule makeRule(const std::string& pattern, bool enabled = true) {
    return BlockRule{Uuid::random(), pattern, enabled, RuleAction::block, std::nullopt, std::nullopt};
}

BlockRuleGroup makeGroup(const std::string& name, UnlockPolicy policy = UnlockPolicy::instant()) {
    return BlockRuleGroup{Uuid::random(), name,
                          true,           {makeRule("*news.example/*"), makeRule("*video.example/*", false)},
                          false,          BlockSchedule::always(),
                          policy,         Url::parse("https://focus.example/"),
                          false};
}

TEST(BlockRuleStoreTest, RoundTripsThroughAFreshStoreOnARealFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ManualClock clock;
    std::vector<BlockRuleGroup> groups;
    std::vector<BackoffRecord> records;
    {
        FileDefaultsStore defaults(dir.path());
        BlockRuleStore store(defaults, kSeedName, clock);
        store.addGroup(makeGroup("Work", UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(6))));
        store.addGroup(makeGroup("Évening"));
        store.toggleRule(store.groups()[1].id, store.groups()[1].rules[1].id);
        store.recordUnlock(store.groups()[1].id);
        clock.advance(std::chrono::milliseconds(1500));
        store.recordUnlock(store.groups()[1].id);
        groups = store.groups();
        records = store.backoffRecords();
    }
    FileDefaultsStore reopened(dir.path());
    BlockRuleStore store(reopened, "Other seed", clock);
    EXPECT_EQ(store.groups(), groups);
    EXPECT_EQ(store.backoffRecords(), records);
    ASSERT_EQ(store.backoffRecords().size(), 1u);
    EXPECT_EQ(store.backoffRecords()[0].unlockCount, 2);
    EXPECT_EQ(store.backoffRecords()[0].lastUnlockDate, clock.now());
}

TEST(BlockRuleStoreTest, MissingKeysSeedTheDefaultGroupAndWriteNothing) {
    MemoryDefaultsStore defaults;
    ManualClock clock;
    BlockRuleStore store(defaults, kSeedName, clock);
    ASSERT_EQ(store.groups().size(), 1u);
    EXPECT_TRUE(store.groups()[0].isDefault);
    EXPECT_EQ(store.groups()[0].name, kSeedName);
    EXPECT_TRUE(store.backoffRecords().empty());
    EXPECT_EQ(defaults.writeCount(), 0);
    EXPECT_TRUE(defaults.keys().empty());
}

TEST(BlockRuleStoreTest, AStoredEmptyListStaysEmpty) {
    MemoryDefaultsStore defaults;
    defaults.plant(BlockRuleStore::groupsKey, nlohmann::json::array());
    ManualClock clock;
    BlockRuleStore store(defaults, kSeedName, clock);
    EXPECT_TRUE(store.groups().empty());
    store.addGroup(makeGroup("Work"));
    EXPECT_EQ(store.groups().size(), 1u);
    EXPECT_EQ(defaults.keys(), std::vector<std::string>{BlockRuleStore::groupsKey});
}

// A stored list that does not decode falls back, and its first replacement keeps it aside exactly once.
TEST(BlockRuleStoreTest, AnUnreadableListIsKeptAsideOnceBeforeTheFirstSaveReplacesIt) {
    const nlohmann::json goodGroup = makeGroup("Kept").toJson();
    nlohmann::json groupWithoutDefaultFlag = goodGroup;
    groupWithoutDefaultFlag.erase("isDefault");
    nlohmann::json ruleWithCapitalAction = goodGroup;
    ruleWithCapitalAction["rules"][0]["action"] = "Block";

    struct Case {
        const char* name;
        nlohmann::json stored;
    };
    const std::vector<Case> cases = {
        {"text instead of a list", "not a list"},
        {"an object", nlohmann::json{{"groups", nlohmann::json::array()}}},
        {"one group misses a key", nlohmann::json::array({goodGroup, groupWithoutDefaultFlag})},
        {"one rule has a bad action", nlohmann::json::array({ruleWithCapitalAction, goodGroup})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDefaultsStore defaults;
        defaults.plant(BlockRuleStore::groupsKey, c.stored);
        // A copy kept by an earlier run must survive as it is.
        defaults.plant(std::string(BlockRuleStore::groupsKey) + ".unreadable.1", "earlier");
        test::LogCapture log;
        ManualClock clock;
        BlockRuleStore store(defaults, kSeedName, clock);
        ASSERT_EQ(store.groups().size(), 1u);
        EXPECT_TRUE(store.groups()[0].isDefault);
        EXPECT_EQ(defaults.writeCount(), 0);

        // A language change is enough to save the groups.
        store.renameDefaultGroup({kSeedName}, "Sperrliste");
        store.toggleGroup(store.groups()[0].id);
        const std::string copyKey = std::string(BlockRuleStore::groupsKey) + ".unreadable.2";
        EXPECT_EQ(defaults.value(copyKey), c.stored);
        EXPECT_EQ(defaults.value(std::string(BlockRuleStore::groupsKey) + ".unreadable.1"), "earlier");
        EXPECT_FALSE(defaults.contains(std::string(BlockRuleStore::groupsKey) + ".unreadable.3"));
        EXPECT_EQ(defaults.value(BlockRuleStore::groupsKey), Json::encodeList(store.groups()));
        EXPECT_EQ(log.count("settings|warning|Stored blockRuleGroups could not be read ("), 1);
        EXPECT_EQ(log.count("; kept it as " + copyKey), 1);
        EXPECT_EQ(defaults.keys().size(), 3u);
    }
}

TEST(BlockRuleStoreTest, UnreadableBackoffRecordsAreKeptAsideBeforeTheFirstUnlockReplacesThem) {
    MemoryDefaultsStore defaults;
    const nlohmann::json stored = nlohmann::json::array({{{"groupId", "not-a-uuid"}, {"unlockCount", 1}}});
    defaults.plant(BlockRuleStore::backoffRecordsKey, stored);
    ManualClock clock;
    BlockRuleStore store(defaults, kSeedName, clock);
    EXPECT_TRUE(store.backoffRecords().empty());
    store.recordUnlock(store.groups()[0].id);
    store.recordUnlock(store.groups()[0].id);
    EXPECT_EQ(defaults.value(std::string(BlockRuleStore::backoffRecordsKey) + ".unreadable.1"), stored);
    EXPECT_FALSE(defaults.contains(std::string(BlockRuleStore::backoffRecordsKey) + ".unreadable.2"));
    EXPECT_EQ(defaults.value(BlockRuleStore::backoffRecordsKey), Json::encodeList(store.backoffRecords()));
}

TEST(BlockRuleStoreTest, AnUnreadableListIsNotReplacedWhenItCannotBeKeptAside) {
    MemoryDefaultsStore defaults;
    defaults.plant(BlockRuleStore::groupsKey, "damaged");
    ManualClock clock;
    BlockRuleStore store(defaults, kSeedName, clock);
    defaults.setWriteFailure("disk full");
    test::LogCapture log;
    store.addGroup(makeGroup("Work"));
    EXPECT_EQ(store.groups().size(), 2u) << "the change stays in memory";
    EXPECT_EQ(defaults.value(BlockRuleStore::groupsKey), "damaged");
    EXPECT_EQ(log.count("settings|warning|Could not keep the unreadable blockRuleGroups aside"), 1);
    // Once writing works again the next save keeps the value aside and then replaces it.
    defaults.setWriteFailure("");
    store.saveGroups();
    EXPECT_EQ(defaults.value(std::string(BlockRuleStore::groupsKey) + ".unreadable.1"), "damaged");
    EXPECT_EQ(defaults.value(BlockRuleStore::groupsKey), Json::encodeList(store.groups()));
}

// What each operation announces and saves: {groups announced, groups saved, records announced, records
// saved}. A stale value planted under both keys shows which lists an operation writes, also when it
// writes a list equal to the one stored.
TEST(BlockRuleStoreTest, WriteAndNotifyMatrix) {
    struct Expect {
        bool groupsNotified;
        bool groupsSaved;
        bool recordsNotified;
        bool recordsSaved;
    };
    struct Case {
        const char* name;
        std::function<void(BlockRuleStore&)> act;
        Expect expect;
    };
    const Expect nothing{false, false, false, false};
    const Expect groupsWritten{true, true, false, false};
    const Expect groupsSavedSilently{false, true, false, false};
    const Expect recordsWritten{false, false, true, true};
    // Fixture: [default seed, "Work" (enabled), "Off" (disabled)]; a record for "Work" only.
    const std::vector<Case> cases = {
        {"assign an equal list", [](BlockRuleStore& s) { s.setGroups(s.groups()); }, groupsSavedSilently},
        {"assign a different list",
         [](BlockRuleStore& s) {
             s.setGroups({s.groups()[1], s.groups()[0], s.groups()[2]});
         },
         groupsWritten},
        {"assign equal records", [](BlockRuleStore& s) { s.setBackoffRecords(s.backoffRecords()); }, nothing},
        {"assign different records",
         [](BlockRuleStore& s) { s.setBackoffRecords({}); },
         {false, false, true, false}},
        {"add a group", [](BlockRuleStore& s) { s.addGroup(makeGroup("New")); }, groupsWritten},
        {"delete a group", [](BlockRuleStore& s) { s.deleteGroup(s.groups()[1]); }, groupsWritten},
        {"delete an unknown group", [](BlockRuleStore& s) { s.deleteGroup(makeGroup("Ghost")); },
         groupsWritten},
        {"delete the default group", [](BlockRuleStore& s) { s.deleteGroup(s.groups()[0]); }, nothing},
        {"delete with the default flag set",
         [](BlockRuleStore& s) {
             BlockRuleGroup flagged = s.groups()[1];
             flagged.isDefault = true;
             s.deleteGroup(flagged);
         },
         nothing},
        {"toggle a group", [](BlockRuleStore& s) { s.toggleGroup(s.groups()[1].id); }, groupsWritten},
        {"toggle an unknown group", [](BlockRuleStore& s) { s.toggleGroup(Uuid::random()); }, nothing},
        {"disable an enabled group", [](BlockRuleStore& s) { s.disableGroup(s.groups()[1].id); },
         groupsWritten},
        {"disable a disabled group", [](BlockRuleStore& s) { s.disableGroup(s.groups()[2].id); },
         groupsWritten},
        {"disable an unknown group", [](BlockRuleStore& s) { s.disableGroup(Uuid::random()); }, nothing},
        {"replace a group",
         [](BlockRuleStore& s) { s.replaceGroup(s.groups()[1].id, s.groups()[1].withName("Job")); },
         groupsWritten},
        {"replace an unknown group",
         [](BlockRuleStore& s) { s.replaceGroup(Uuid::random(), makeGroup("X")); }, nothing},
        {"rename the seed-named default",
         [](BlockRuleStore& s) { s.renameDefaultGroup({kSeedName}, "Liste"); }, groupsWritten},
        {"rename to the name it has", [](BlockRuleStore& s) { s.renameDefaultGroup({kSeedName}, kSeedName); },
         nothing},
        {"rename a user-named default", [](BlockRuleStore& s) { s.renameDefaultGroup({"Other"}, "Liste"); },
         nothing},
        {"delete a rule",
         [](BlockRuleStore& s) { s.deleteRule(s.groups()[1].id, s.groups()[1].rules[0].id); }, groupsWritten},
        {"delete an unknown rule", [](BlockRuleStore& s) { s.deleteRule(s.groups()[1].id, Uuid::random()); },
         groupsWritten},
        {"delete a rule of an unknown group",
         [](BlockRuleStore& s) { s.deleteRule(Uuid::random(), s.groups()[1].rules[0].id); }, nothing},
        {"toggle a rule",
         [](BlockRuleStore& s) { s.toggleRule(s.groups()[1].id, s.groups()[1].rules[0].id); }, groupsWritten},
        {"toggle an unknown rule", [](BlockRuleStore& s) { s.toggleRule(s.groups()[1].id, Uuid::random()); },
         nothing},
        {"read a record", [](BlockRuleStore& s) { s.backoffRecord(Uuid::random()); }, nothing},
        {"record an unlock", [](BlockRuleStore& s) { s.recordUnlock(s.groups()[2].id); }, recordsWritten},
        {"reset a record", [](BlockRuleStore& s) { s.resetBackoffRecord(s.groups()[1].id); }, recordsWritten},
        {"reset a missing record", [](BlockRuleStore& s) { s.resetBackoffRecord(s.groups()[2].id); },
         nothing},
        {"save the groups", [](BlockRuleStore& s) { s.saveGroups(); }, groupsSavedSilently},
        {"save the records", [](BlockRuleStore& s) { s.saveBackoffRecords(); }, {false, false, false, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDefaultsStore defaults;
        ManualClock clock;
        BlockRuleStore store(defaults, kSeedName, clock);
        store.addGroup(makeGroup("Work"));
        store.addGroup(makeGroup("Off").withIsEnabled(false));
        store.recordUnlock(store.groups()[1].id);
        defaults.plant(BlockRuleStore::groupsKey, "stale");
        defaults.plant(BlockRuleStore::backoffRecordsKey, "stale");
        Expect seen{};
        QObject::connect(&store, &BlockRuleStore::groupsChanged, [&] { seen.groupsNotified = true; });
        QObject::connect(&store, &BlockRuleStore::backoffRecordsChanged,
                         [&] { seen.recordsNotified = true; });
        c.act(store);
        const auto storedGroups = defaults.value(BlockRuleStore::groupsKey);
        const auto storedRecords = defaults.value(BlockRuleStore::backoffRecordsKey);
        seen.groupsSaved = storedGroups != "stale";
        seen.recordsSaved = storedRecords != "stale";
        EXPECT_EQ(seen.groupsNotified, c.expect.groupsNotified);
        EXPECT_EQ(seen.groupsSaved, c.expect.groupsSaved);
        EXPECT_EQ(seen.recordsNotified, c.expect.recordsNotified);
        EXPECT_EQ(seen.recordsSaved, c.expect.recordsSaved);
        // What was saved is exactly the list in memory.
        if (seen.groupsSaved) {
            EXPECT_EQ(storedGroups, Json::encodeList(store.groups()));
        }
        if (seen.recordsSaved) {
            EXPECT_EQ(storedRecords, Json::encodeList(store.backoffRecords()));
        }
    }
}

TEST(BlockRuleStoreTest, OperationsChangeTheFirstMatchAndKeepTheRest) {
    MemoryDefaultsStore defaults;
    ManualClock clock;
    BlockRuleStore store(defaults, kSeedName, clock);
    const BlockRuleGroup work = makeGroup("Work");
    BlockRuleGroup twin = work.withName("Twin");
    store.setGroups({store.groups()[0], work, makeGroup("Middle"), twin});

    store.toggleGroup(work.id);
    EXPECT_FALSE(store.groups()[1].isEnabled);
    EXPECT_TRUE(store.groups()[3].isEnabled) << "only the first group with the id changes";

    store.toggleRule(work.id, work.rules[1].id);
    EXPECT_TRUE(store.groups()[1].rules[1].isEnabled);
    EXPECT_EQ(store.groups()[1].rules[0], work.rules[0]);

    store.deleteRule(work.id, work.rules[0].id);
    ASSERT_EQ(store.groups()[1].rules.size(), 1u);
    EXPECT_EQ(store.groups()[1].rules[0].id, work.rules[1].id);

    // Deleting removes every group with the id, keeping the order of the rest.
    store.deleteGroup(work);
    ASSERT_EQ(store.groups().size(), 2u);
    EXPECT_EQ(store.groups()[1].name, "Middle");

    // A second group flagged as default is never renamed; a user's own name is kept.
    BlockRuleGroup otherDefault = BlockRuleGroup::makeDefault(kSeedName)[0];
    store.addGroup(otherDefault);
    store.renameDefaultGroup({kSeedName, "ブロックリスト"}, "ブロックリスト");
    EXPECT_EQ(store.groups()[0].name, "ブロックリスト");
    EXPECT_EQ(store.groups()[2].name, kSeedName);
    store.replaceGroup(store.groups()[0].id, store.groups()[0].withName("Mine"));
    store.renameDefaultGroup({kSeedName, "ブロックリスト"}, kSeedName);
    EXPECT_EQ(store.groups()[0].name, "Mine");
}

} // namespace
} // namespace kivo
