#include "app/brightness/BrightnessTriggerStore.h"
#include "app/language/LanguageController.h"
#include "app/language/LocalizedStrings.h"
#include "app/more/LoginItemService.h"
#include "app/onboarding/OnboardingController.h"
#include "app/rules/BlockRuleStore.h"
#include "app/sheets/EraseAllDataFlow.h"
#include "app/sheets/QuitConfirmationFlow.h"
#include "app/shell/ActivationPolicyCoordinator.h"
#include "domain/BlockRuleGroup.h"
#include "support/AppRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace kivo {
namespace {

using test::AppRig;

TEST(AppDelegate, TerminationAnswer) {
    struct Case {
        const char* name;
        bool approved;
        TerminationReason reason;
        bool allowed;
    };
    const Case cases[] = {
        {"plain quit is refused", false, TerminationReason::userInitiated, false},
        {"log-out goes through", false, TerminationReason::logOut, true},
        {"restart goes through", false, TerminationReason::restart, true},
        {"shutdown goes through", false, TerminationReason::shutdown, true},
        {"approved quit goes through", true, TerminationReason::userInitiated, true},
    };
    for (const auto& c : cases) {
        AppRig rig;
        rig.delegate->applicationDidFinishLaunching();
        if (c.approved)
            rig.delegate->userApprovedQuit();
        EXPECT_EQ(rig.delegate->applicationShouldTerminate(c.reason), c.allowed) << c.name;
        // Only a refused request hides the windows; the session ending leaves them as they are.
        EXPECT_EQ(rig.windows.hidden, c.allowed ? 0 : 1) << c.name;
    }
}

TEST(AppDelegate, TrayQuitShowsTheWindowAndEndsOnlyAfterTheCountdown) {
    AppRig rig;
    rig.delegate->applicationDidFinishLaunching();
    rig.statusItem.onQuit();
    EXPECT_EQ(rig.windows.shown, 1);
    EXPECT_TRUE(rig.delegate->quitConfirmationFlow().state().isCounting());
    rig.delegate->quitConfirmationFlow().confirm();
    EXPECT_EQ(rig.windows.terminations, 0) << "confirm before 0 does nothing";
    rig.clock.advance(std::chrono::seconds(10));
    rig.delegate->quitConfirmationFlow().confirm();
    EXPECT_EQ(rig.windows.terminations, 1);
    EXPECT_TRUE(rig.delegate->applicationShouldTerminate(TerminationReason::userInitiated));
}

TEST(AppDelegate, GroupChangesReachTheMonitorWithoutAnyWindow) {
    AppRig rig;
    rig.delegate->applicationDidFinishLaunching();
    auto groups = rig.delegate->store().groups();
    auto group = groups.front();
    group.rules.front().id = Uuid::random();
    rig.delegate->store().replaceGroup(group.id, group);
    EXPECT_TRUE(rig.delegate->browserMonitor().ruleToGroup().count(group.rules.front().id));
}

TEST(AppDelegate, EveryStoreRetriesAFailedSaveOnTheApplicationsTimers) {
    struct Case {
        const char* name;
        std::function<void(AppDelegate&)> change;
        std::function<bool(AppDelegate&)> unsaved;
    };
    const Case cases[] = {
        {"rule groups", [](AppDelegate& d) { d.store().setGroups({}); },
         [](AppDelegate& d) { return d.store().hasUnsavedChanges(); }},
        {"brightness triggers", [](AppDelegate& d) { d.brightnessTriggerStore().setTriggers({}); },
         [](AppDelegate& d) { return d.brightnessTriggerStore().hasUnsavedChanges(); }},
        {"language", [](AppDelegate& d) { d.languageController().setLanguage(LanguagePreference::korean()); },
         [](AppDelegate& d) { return d.languageController().hasUnsavedChanges(); }},
    };
    for (const auto& c : cases) {
        AppRig rig;
        rig.delegate->applicationDidFinishLaunching();
        rig.defaults.setWriteFailure("disk full");
        c.change(*rig.delegate);
        ASSERT_TRUE(c.unsaved(*rig.delegate)) << c.name;
        rig.defaults.setWriteFailure("");
        rig.clock.advance(std::chrono::seconds(31));
        EXPECT_FALSE(c.unsaved(*rig.delegate)) << c.name << " saved again by the timer";
    }
}

TEST(AppDelegate, EraseAllDataLeavesNoUserDataBehind) {
    // Unreadable stored lists and copies kept aside by earlier runs: none may survive, and the seeding
    // saves must not copy the old lists aside once more.
    AppRig rig({{"blockRuleGroups", "not a list"},
                {"brightnessTriggers", 42},
                {"backoffRecords", nlohmann::json::array({{{"bad", true}}})},
                {"blockRuleGroups.unreadable.1", "older"},
                {"brightnessTriggers.unreadable.3", 7},
                {"mcpServerPort", 4000},
                {"kivo.onboardingCompletedVersion", 1},
                {"kivo.languagePreference", "korean"}});
    rig.ports.loginItem.setStatus(LoginItemStatus::Enabled);
    rig.delegate->applicationDidFinishLaunching();
    rig.delegate->eraseAllData();

    for (const auto& key : rig.defaults.keys())
        EXPECT_EQ(key.find(".unreadable."), std::string::npos) << key;
    EXPECT_FALSE(rig.defaults.contains("mcpServerPort"));
    EXPECT_FALSE(rig.defaults.contains("backoffRecords"));
    EXPECT_FALSE(rig.defaults.contains("kivo.onboardingCompletedVersion"));
    EXPECT_EQ(rig.defaults.value("kivo.languagePreference"), nlohmann::json("korean"));
    const auto& groups = rig.delegate->store().groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups.front().name, rig.delegate->localizedSeedName(AppDelegate::SeedKind::blocklist));
    EXPECT_EQ(rig.delegate->brightnessTriggerStore().triggers().size(), 2u);
    EXPECT_TRUE(rig.defaults.contains("blockRuleGroups"));
    EXPECT_FALSE(rig.delegate->loginItemService().isEnabled());
    EXPECT_FALSE(rig.delegate->onboardingController().isCompleted());
}

TEST(AppDelegate, UninstallTrashesOnlyWhatIsTheUsers) {
    struct Case {
        const char* name;
        QString packageReason;
        QString trashFailure;
        int trashed;
        int foldersRemoved;
        bool errorLogged;
        bool programStays;
    };
    const Case cases[] = {
        {"own installation", {}, {}, 2, 1, false, false},
        {"system package", "owned by root", {}, 0, 0, true, true},
        {"trash refuses", {}, "disk full", 2, 1, true, false},
    };
    for (const auto& c : cases) {
        AppRig rig(nlohmann::json{{"kivo.onboardingCompletedVersion", 1}});
        rig.ports.installation.files << "/home/user/.local/share/kivo/privacy.html";
        rig.ports.installation.folders = {"/home/user/.local/share/kivo"};
        rig.ports.installation.packageReason = c.packageReason;
        rig.ports.trash.setFailure(c.trashFailure);
        rig.delegate->applicationDidFinishLaunching();
        // The sheet says only what happens: a program that stays is not said to go to the trash.
        const auto text = [&](const LocalizedString& key) {
            return rig.localizer.text(key, rig.delegate->languageController().current());
        };
        const QString expected = c.programStays ? text(Strings::Uninstall::packageWarningMessage()) + "\n\n" +
                                                      text(Strings::Uninstall::packageRemains())
                                                : text(Strings::Uninstall::warningMessage());
        EXPECT_EQ(rig.delegate->uninstallWarning(), expected) << c.name;
        test::LogCapture log;
        rig.delegate->uninstall();
        EXPECT_EQ(rig.ports.trash.requests().size(), c.trashed) << c.name;
        EXPECT_EQ(rig.ports.trash.removedFolders().size(), c.foldersRemoved) << c.name;
        EXPECT_EQ(log.contains("Uninstall recycle failed"), c.errorLogged) << c.name;
        EXPECT_FALSE(rig.delegate->onboardingController().isCompleted())
            << c.name << ": data is erased anyway";
        test::processEvents();
        EXPECT_EQ(rig.windows.terminations, 1) << c.name;
        EXPECT_TRUE(rig.delegate->applicationShouldTerminate(TerminationReason::userInitiated)) << c.name;
    }
}

TEST(AppDelegate, LanguageChangeRenamesSeedsAndRetitlesTheTray) {
    AppRig rig(nlohmann::json{{"kivo.languagePreference", "japanese"}});
    rig.delegate->applicationDidFinishLaunching();
    auto& store = rig.delegate->store();
    auto custom = BlockRuleGroup::makeDefault("My own").front();
    custom.isDefault = false;
    custom.id = Uuid::random();
    store.addGroup(custom);
    const QString japaneseOpen = rig.statusItem.openTitle;

    rig.delegate->languageController().setLanguage(LanguagePreference::korean());
    EXPECT_EQ(store.groups().front().name,
              rig.localizer.text(Strings::Domain::SeedName::blocklist(), LanguagePreference::korean())
                  .toStdString());
    EXPECT_EQ(store.groups().back().name, "My own");
    EXPECT_NE(rig.statusItem.openTitle, japaneseOpen);
    EXPECT_EQ(rig.statusItem.installs, 1) << "re-titled, not rebuilt";
}

TEST(ActivationPolicyCoordinator, DebouncesABurstAndSkipsTheCurrentPolicy) {
    AppRig rig;
    auto& coordinator = rig.delegate->activationPolicyCoordinator();
    auto& applied = rig.ports.activationPolicy.applied;
    coordinator.start(); // no window: accessory
    ASSERT_EQ(applied, (std::vector{ActivationPolicy::accessory}));
    rig.ports.activationPolicy.mainWindowVisible = true;
    for (int i = 0; i < 5; ++i) {
        coordinator.scheduleEvaluation();
        rig.clock.advance(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(applied.size(), 1u) << "nothing before 100 ms of quiet";
    rig.clock.advance(std::chrono::milliseconds(100));
    EXPECT_EQ(applied, (std::vector{ActivationPolicy::accessory, ActivationPolicy::regular}));
    coordinator.apply(ActivationPolicy::regular);
    EXPECT_EQ(applied.size(), 2u);
}

} // namespace
} // namespace kivo
