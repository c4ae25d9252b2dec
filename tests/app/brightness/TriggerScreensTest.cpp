#include "app/brightness/BrightnessController.h"
#include "app/brightness/BrightnessTriggerEditPresenter.h"
#include "app/brightness/BrightnessTriggerRows.h"
#include "app/brightness/FakeBrightnessBackend.h"
#include "core/ManualClock.h"
#include "domain/DayOfWeekGroups.h"
#include "platform/simulated/SimulatedSystemEvents.h"
#include "settings/MemoryDefaultsStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace kivo {
namespace {

using Sets = std::vector<test::FakeBrightnessBackend::Set>;

// Monday 2026-01-05 at 09:00; "Morning" at 07:00 sets Left to 0.3.
struct TriggerRig {
    ManualClock clock;
    std::shared_ptr<test::FakeBrightnessBackend> backend = std::make_shared<test::FakeBrightnessBackend>();
    SimulatedSystemEvents events;
    MemoryDefaultsStore defaults;
    BrightnessTrigger morning{Uuid::random(),  "Morning", 7 * 60, DayOfWeekGroups::allDays(),
                              {{"Left", 0.3}}, true,      false};
    std::unique_ptr<BrightnessTriggerStore> store;
    BrightnessController controller{backend, clock, clock, events, events};

    TriggerRig() {
        backend->setDisplays({{1, false, "Left"}, {5, false, "Right"}, {3, false, "Left"}});
        store = std::make_unique<BrightnessTriggerStore>(defaults, "Sunrise", "Sunset",
                                                         std::vector<BrightnessTrigger>{morning});
        clock.setLocal(2026, 1, 5, 9, 0);
        controller.start(store.get());
        applied();
    }
    Sets applied() {
        EXPECT_TRUE(test::waitUntil([&] { return !controller.isApplying(); }));
        auto sets = backend->sets();
        backend->clear();
        std::stable_sort(sets.begin(), sets.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        return sets;
    }
    const BrightnessTrigger& stored() const { return store->triggers().front(); }
};

TEST(TriggerSheetTest, ANewTriggerTakesTheDefaultsAndSeedsOnlyConnectedDisplays) {
    TriggerRig rig;
    BrightnessTriggerEditPresenter sheet(*rig.store, rig.controller, std::nullopt);
    sheet.seedDisplayLevels();
    EXPECT_EQ(rig.applied(), Sets{}); // appearing previews nothing
    std::vector<std::uint32_t> order;
    for (const auto& d : sheet.displays()) {
        order.push_back(d.displayID);
    }
    EXPECT_EQ(order, (std::vector<std::uint32_t>{5, 3, 1}));
    EXPECT_FALSE(sheet.canSave());
    sheet.setName(" \t");
    EXPECT_FALSE(sheet.canSave());
    sheet.setName(" Night light that is far too long");
    ASSERT_TRUE(sheet.save());
    const auto& added = rig.store->triggers().back();
    EXPECT_EQ(added.name(), " Night light that is");
    EXPECT_EQ(added.timeMinutes(), 480);
    EXPECT_EQ(added.daysOfWeek(), DayOfWeekGroups::allDays());
    EXPECT_EQ(added.displayBrightness(), (std::map<std::string, double>{{"Left", 1.0}, {"Right", 1.0}}));
    EXPECT_TRUE(added.isEnabled());
    EXPECT_EQ(rig.applied(), Sets{}); // no preview ran, so nothing is re-applied
}

TEST(TriggerSheetTest, ANameOfSpacesFromAnyScriptCannotBeSaved) {
    const struct {
        const char* name;
        bool saves;
    } cases[] = {{"\xE3\x80\x80", false},            // ideographic space from an input method
                 {"\xC2\xA0\t\xE2\x80\x83 ", false}, // no-break space, tab, em space, space
                 {"\xE3\x80\x80\xE5\xA4\x9C", true}, // a word after the space
                 {"\n", true}};                      // line breaks are content
    for (const auto& c : cases) {
        TriggerRig rig;
        BrightnessTriggerEditPresenter sheet(*rig.store, rig.controller, std::nullopt);
        sheet.setName(c.name);
        EXPECT_EQ(sheet.canSave(), c.saves) << c.name;
        EXPECT_EQ(sheet.save(), c.saves) << c.name;
        EXPECT_EQ(rig.store->triggers().size(), c.saves ? 2u : 1u) << c.name;
    }
}

TEST(TriggerSheetTest, EveryWayOutEndsAPreviewOnceAndTheCurrentTriggerTakesOver) {
    enum class Exit { save, cancel, remove, destroyed };
    for (const Exit exit : {Exit::save, Exit::cancel, Exit::remove, Exit::destroyed}) {
        TriggerRig rig;
        auto sheet =
            std::make_unique<BrightnessTriggerEditPresenter>(*rig.store, rig.controller, rig.morning);
        sheet->seedDisplayLevels();
        sheet->setLevel("Left", 0.5);
        EXPECT_TRUE(rig.controller.isPreviewing());
        EXPECT_EQ(rig.applied(), (Sets{{1, 0.5f}, {3, 0.5f}, {5, 1.0f}}));
        switch (exit) {
        case Exit::save:
            sheet->save();
            break;
        case Exit::cancel:
            sheet->cancel();
            break;
        case Exit::remove:
            sheet->confirmDelete();
            break;
        case Exit::destroyed:
            break;
        }
        sheet.reset();
        EXPECT_FALSE(rig.controller.isPreviewing()) << static_cast<int>(exit);
        // After a save the edited trigger is current; after a delete there is none.
        const Sets expected = exit == Exit::save     ? Sets{{1, 0.5f}, {3, 0.5f}, {5, 1.0f}}
                              : exit == Exit::remove ? Sets{}
                                                     : Sets{{1, 0.3f}, {3, 0.3f}};
        EXPECT_EQ(rig.applied(), expected) << static_cast<int>(exit);
    }
}

TEST(TriggerSheetTest, AnEditLandsOnTheStoredTriggerAndNeverRevivesADeletedOne) {
    TriggerRig rig;
    BrightnessTriggerEditPresenter sheet(*rig.store, rig.controller, rig.morning);
    EXPECT_TRUE(sheet.isDaily());
    EXPECT_EQ(sheet.selectedDays(), DayOfWeekGroups::weekdays());
    BrightnessTriggerRows::setTriggerEnabled(*rig.store, rig.controller, rig.morning.id(), false);
    sheet.setDaily(false);
    sheet.setTimeMinutes(2000);
    ASSERT_TRUE(sheet.save());
    EXPECT_FALSE(rig.stored().isEnabled());
    EXPECT_EQ(rig.stored().daysOfWeek(), DayOfWeekGroups::weekdays());
    EXPECT_EQ(rig.stored().timeMinutes(), 1439);
    EXPECT_EQ(rig.stored().id(), rig.morning.id());

    rig.store->deleteTrigger(rig.morning.id());
    sheet.save();
    EXPECT_TRUE(rig.store->triggers().empty());
}

TEST(TriggerRowsTest, SummaryTruncatesAndTheSwitchMovesToTheValueAsked) {
    const struct {
        std::map<std::string, double> levels;
        std::string expected;
    } cases[] = {{{{"Display 2", 0.5}, {"Built-in", 1.0}}, "Built-in 100% / Display 2 50%"},
                 {{{"A", 0.29}, {"B", 0.57}}, "A 28% / B 56%"},
                 {{}, ""}};
    for (const auto& c : cases) {
        const BrightnessTrigger t(Uuid::random(), "", 0, {}, c.levels, true, false);
        EXPECT_EQ(BrightnessTriggerRows::brightnessSummary(t), c.expected);
    }
    TriggerRig rig;
    // A stale row asking for "on" leaves the enabled trigger on; asking for off twice ends off.
    BrightnessTriggerRows::setTriggerEnabled(*rig.store, rig.controller, rig.morning.id(), true);
    EXPECT_TRUE(rig.stored().isEnabled());
    BrightnessTriggerRows::setTriggerEnabled(*rig.store, rig.controller, rig.morning.id(), false);
    BrightnessTriggerRows::setTriggerEnabled(*rig.store, rig.controller, rig.morning.id(), false);
    EXPECT_FALSE(rig.stored().isEnabled());
}

} // namespace
} // namespace kivo
