#include "app/brightness/BrightnessTriggerStore.h"
#include "app/language/LanguageController.h"
#include "app/onboarding/OnboardingController.h"
#include "app/rules/BlockRuleStore.h"
#include "core/ManualClock.h"
#include "domain/DayOfWeekGroups.h"
#include "domain/Json.h"
#include "settings/FileDefaultsStore.h"
#include "settings/MemoryDefaultsStore.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo {
namespace {

BlockRuleGroup group(const std::string& name) {
    return BlockRuleGroup{Uuid::random(),          name,         true, {}, false, BlockSchedule::always(),
                          UnlockPolicy::instant(), std::nullopt, false};
}

BrightnessTrigger trigger(const std::string& name) {
    return BrightnessTrigger(Uuid::random(), name, 600, DayOfWeekGroups::allDays(), {{"Studio", 0.5}}, true,
                             false);
}

// One of the stores that save the user's changes, driven through what it offers.
struct Subject {
    std::shared_ptr<QObject> owner;
    std::function<void()> change;
    std::function<void()> anotherChange;
    std::function<bool()> stored; // whether what the store holds is what the database holds
    std::function<bool()> hasUnsavedChanges;
    std::function<void()> saveIfUnsaved;
};

struct StoreCase {
    const char* name;
    const char* logged; // what the log names once a later save landed
    std::function<Subject(DefaultsStore&, ManualClock&)> make;
};

Subject blockRules(DefaultsStore& defaults, ManualClock& clock) {
    auto store = std::make_shared<BlockRuleStore>(defaults, "Blocklist", clock);
    store->setRetryTimers(clock);
    auto* s = store.get();
    return {store,
            [s] { s->addGroup(group("Work")); },
            [s] { s->recordUnlock(s->groups().front().id); },
            [s, &defaults] {
                return defaults.value(BlockRuleStore::groupsKey) == Json::encodeList(s->groups()) &&
                       (s->backoffRecords().empty() || defaults.value(BlockRuleStore::backoffRecordsKey) ==
                                                           Json::encodeList(s->backoffRecords()));
            },
            [s] { return s->hasUnsavedChanges(); },
            [s] { s->saveIfUnsaved(); }};
}

Subject brightnessTriggers(DefaultsStore& defaults, ManualClock& clock) {
    auto store = std::make_shared<BrightnessTriggerStore>(defaults, "Sunrise", "Sunset");
    store->setRetryTimers(clock);
    auto* s = store.get();
    return {store,
            [s] { s->addTrigger(trigger("Dusk")); },
            [s] { s->deleteTrigger(s->triggers().front().id()); },
            [s, &defaults] {
                return defaults.value(BrightnessTriggerStore::kDefaultsKey) ==
                       BrightnessTrigger::encodeList(s->triggers()).value();
            },
            [s] { return s->hasUnsavedChanges(); },
            [s] { s->saveIfUnsaved(); }};
}

Subject language(DefaultsStore& defaults, ManualClock& clock) {
    auto controller =
        std::make_shared<LanguageController>(LanguagePreferenceStore(defaults), QStringList{"en"});
    controller->setRetryTimers(clock);
    auto* c = controller.get();
    return {controller,
            [c] { c->setLanguage(LanguagePreference::japanese()); },
            [c] { c->setLanguage(LanguagePreference::korean()); },
            [c, &defaults] {
                return defaults.stringValue(LanguagePreferenceStore::key).valueOr("") ==
                       c->current().rawValue();
            },
            [c] { return c->hasUnsavedChanges(); },
            [c] { c->saveIfUnsaved(); }};
}

Subject onboarding(DefaultsStore& defaults, ManualClock& clock) {
    auto controller = std::make_shared<OnboardingController>(OnboardingStore{&defaults});
    controller->setRetryTimers(clock);
    auto* c = controller.get();
    return {controller,
            [c] { c->completeOnboarding(); },
            [c] { c->reset(); },
            [c, &defaults] {
                return (defaults.integerValue(OnboardingStore::kCompletedVersionKey).valueOr(0) == 1) ==
                       c->isCompleted();
            },
            [c] { return c->hasUnsavedChanges(); },
            [c] { c->saveIfUnsaved(); }};
}

class SaveRetryTest : public ::testing::TestWithParam<StoreCase> {};

// A change whose save failed lands by each of the three ways: the timer, the next change, the quit.
TEST_P(SaveRetryTest, aFailedSaveIsKeptAndLandsOnceWritingWorksAgain) {
    enum class Way { timer, nextChange, quit };
    for (const auto way : {Way::timer, Way::nextChange, Way::quit}) {
        SCOPED_TRACE(static_cast<int>(way));
        MemoryDefaultsStore defaults;
        ManualClock clock;
        auto subject = GetParam().make(defaults, clock);

        defaults.setWriteFailure("disk full");
        subject.change();
        EXPECT_TRUE(subject.hasUnsavedChanges());
        EXPECT_FALSE(subject.stored());
        clock.advance(SaveRetry::kInterval);
        EXPECT_TRUE(subject.hasUnsavedChanges()) << "retries go on while writing fails";

        defaults.setWriteFailure({});
        test::LogCapture log;
        switch (way) {
        case Way::timer:
            clock.advance(SaveRetry::kInterval - std::chrono::seconds(1));
            EXPECT_TRUE(subject.hasUnsavedChanges()) << "not before the interval";
            clock.advance(std::chrono::seconds(1));
            break;
        case Way::nextChange:
            subject.anotherChange();
            break;
        case Way::quit:
            subject.saveIfUnsaved();
            break;
        }
        EXPECT_FALSE(subject.hasUnsavedChanges());
        EXPECT_TRUE(subject.stored());
        EXPECT_TRUE(log.contains(std::string("Saved the ") + GetParam().logged +
                                 " after an earlier save had failed"));
        EXPECT_EQ(clock.activeTimerCount(), 0) << "nothing left to retry";

        const int writes = defaults.writeCount();
        subject.saveIfUnsaved();
        EXPECT_EQ(defaults.writeCount(), writes) << "a saved store writes nothing at quit";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryStore, SaveRetryTest,
                         ::testing::Values(StoreCase{"blockRules", "rule groups", blockRules},
                                           StoreCase{"brightnessTriggers", "brightness triggers",
                                                     brightnessTriggers},
                                           StoreCase{"language", "interface language", language},
                                           StoreCase{"onboarding", "onboarding marker", onboarding}),
                         [](const auto& info) { return std::string(info.param.name); });

// On a real file: the settings directory cannot be written for a while (a full disk, a read-only mount),
// then can again.
TEST(SaveRetryOnDisk, aChangeMadeWhileTheDiskWasFullLandsAtTheNextRetry) {
    test::SmallTmpfs disk(256 * 1024);
    QTemporaryDir fallback;
    QString directory;
    std::function<void(bool)> setWritable;
    if (disk.mounted()) {
        directory = disk.path();
        setWritable = [&](bool writable) {
            if (!writable) {
                QFile filler(directory + "/filler");
                ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
                const QByteArray block(4096, 'x');
                while (filler.write(block) == block.size() && filler.flush()) {
                }
            } else {
                ASSERT_TRUE(QFile::remove(directory + "/filler"));
            }
        };
    } else if (::geteuid() != 0) {
        directory = fallback.path();
        setWritable = [&](bool writable) {
            ::chmod(QFile::encodeName(directory).constData(), writable ? 0700 : 0500);
        };
    } else {
        GTEST_SKIP() << "root ignores a read-only directory, and " << disk.error();
    }
    ManualClock clock;
    FileDefaultsStore defaults(directory);
    BlockRuleStore store(defaults, "Blocklist", clock);
    store.setRetryTimers(clock);
    store.saveGroups();
    setWritable(false);
    store.addGroup(group("Written while full"));
    EXPECT_TRUE(store.hasUnsavedChanges());
    setWritable(true);
    clock.advance(SaveRetry::kInterval);
    EXPECT_FALSE(store.hasUnsavedChanges());
    const auto onDisk = nlohmann::json::parse(test::readFile(defaults.filePath()).toStdString());
    EXPECT_EQ(onDisk[BlockRuleStore::groupsKey], Json::encodeList(store.groups()));
    EXPECT_EQ(store.groups().size(), 2u);
}

} // namespace
} // namespace kivo
