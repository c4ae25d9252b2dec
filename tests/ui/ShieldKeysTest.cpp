#include "app/rules/BlockRuleStore.h"
#include "app/shield/ShieldOverlayController.h"
#include "support/TestSupport.h"
#include "ui/ShellRig.h"
#include "ui/shell/MainWindow.h"
#include "ui/shield/QtShieldWindowSystem.h"

#include <QTest>

#include <gtest/gtest.h>

namespace kivo {
namespace {

// The grab brings every key to Kivo, where Qt hands it to the focused window, which need not be a veil.
TEST(Shield, KeysForAWindowUnderTheVeilsGoNowhereExceptEscapeAndTheGrabRetryEnds) {
    test::ShellRig rig;
    rig.shell->launch();
    auto& d = rig.shell->delegate();
    auto group = d.store().groups().front();
    group.unlockPolicy = UnlockPolicy::waitToUnlock(30);
    d.store().replaceGroup(group.id, group);
    d.overlayController().present(group, d.store(), [](BlockRuleStore&) {});
    auto& shield = rig.shell->shieldWindows();
    ASSERT_TRUE(d.overlayController().isShown());

    // The offscreen platform grants no grab: the retry gives up and leaves no timer running.
    EXPECT_TRUE(test::waitUntil([&] { return !shield.isRetryingGrab(); }, std::chrono::seconds(5)));
    EXPECT_FALSE(shield.isGrabbing());

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool shieldStays;
    } rows[] = {{Qt::Key_A, Qt::NoModifier, true}, {Qt::Key_Escape, Qt::NoModifier, false}};
    for (const auto& row : rows) {
        QTest::keyClick(&rig.shell->mainWindow(), row.key, row.modifiers);
        test::processEvents();
        EXPECT_EQ(d.overlayController().isShown(), row.shieldStays) << row.key;
    }
    EXPECT_FALSE(shield.isRetryingGrab());
}

} // namespace
} // namespace kivo
