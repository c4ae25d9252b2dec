#include "app/rules/BlockRuleStore.h"
#include "app/shell/AppDelegate.h"
#include "app/shield/ShieldOverlayController.h"
#include "support/TestSupport.h"
#include "ui/ShellRig.h"
#include "ui/shell/MainWindow.h"
#include "ui/shield/QtShieldWindowSystem.h"
#include "ui/shield/ShieldVeil.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

namespace kivo {
namespace {

// Launches the shell and puts the shield up for a 30-second wait.
AppDelegate& presentShield(test::ShellRig& rig) {
    rig.shell->launch();
    auto& d = rig.shell->delegate();
    auto group = d.store().groups().front();
    group.unlockPolicy = UnlockPolicy::waitToUnlock(30);
    d.store().replaceGroup(group.id, group);
    d.overlayController().present(group, d.store(), [](BlockRuleStore&) {});
    return d;
}

// The grab brings every key to Kivo, where Qt hands it to the focused window, which need not be a veil.
TEST(Shield, KeysForAWindowUnderTheVeilsGoNowhereExceptEscapeAndTheGrabRetryEnds) {
    test::ShellRig rig;
    auto& d = presentShield(rig);
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

// What a screen reader finds on a veil besides its buttons: role, name and description of each element.
std::vector<std::string> readOut(QWidget* veil) {
    std::vector<std::string> found;
    std::function<void(QAccessibleInterface*)> visit = [&](QAccessibleInterface* node) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            if (child->role() != QAccessible::PushButton)
                found.push_back((child->role() == QAccessible::StaticText ? "text " : "other ") +
                                child->text(QAccessible::Name).toStdString() + ": " +
                                child->text(QAccessible::Description).toStdString());
            visit(child);
        }
    };
    visit(QAccessible::queryAccessibleInterface(veil));
    return found;
}

// The countdown's digits are painted: a screen reader reads them from the primary veil, as they count.
TEST(Shield, ThePrimaryVeilReadsOutTheRemainingSecondsAtEachTickAndNoOtherVeilCountsDown) {
    test::ShellRig rig;
    auto& d = presentShield(rig);
    ASSERT_EQ(rig.shell->shieldWindows().veils().size(), 1u);
    ShieldVeil* primary = rig.shell->shieldWindows().veils().front();
    ShieldVeil other(d.overlayController(), false, true, [] {},
                     {"Kivo", "Keep Blocking", "Countdown", [](qint64 s) { return QString::number(s); }});

    for (const char* seconds : {"30", "29"}) { // a tick between
        EXPECT_EQ(readOut(primary),
                  std::vector<std::string>{std::string("text Countdown: ") + seconds + " seconds remaining"});
        EXPECT_EQ(readOut(&other), std::vector<std::string>{}) << "no countdown beside the primary";
        rig.clock.advance(std::chrono::seconds(1));
    }
}

} // namespace
} // namespace kivo
