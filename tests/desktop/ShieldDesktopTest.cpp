#include "app/rules/BlockRuleStore.h"
#include "app/shell/AppDelegate.h"
#include "app/shield/ShieldOverlayController.h"
#include "desktop/DesktopSupport.h"
#include "ui/ShellRig.h"
#include "ui/shield/QtShieldWindowSystem.h"
#include "ui/shield/ShieldVeil.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

#include <gtest/gtest.h>

// Runs on a real X server with two monitors side by side: two RandR monitors (tests/desktop/two-monitors),
// or two screens joined with Xinerama, of which Qt sees one screen as wide as both.

namespace kivo {
namespace {

// Counts the Tab presses that reach any window of Kivo.
struct TabCounter : QObject {
    int presses = 0;
    TabCounter() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched->isWindowType() && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab)
            ++presses;
        return false;
    }
};

TEST(ShieldOnTheDesktop, CoversEveryScreenHoldsTheKeyboardAndEscapeOnTheSecondScreenCancels) {
    const std::vector<QRect> heads = test::xHeads();
    ASSERT_EQ(heads.size(), 2u) << "needs two screens";
    test::ShellRig rig;
    rig.shell->launch();
    // A second window that the window manager could switch to.
    QWidget other;
    other.setWindowTitle(QStringLiteral("other window"));
    other.resize(300, 200);
    other.show();
    ASSERT_TRUE(test::waitOnDesktop([&] { return other.isVisible() && other.windowHandle()->isExposed(); }));

    auto& d = rig.shell->delegate();
    auto group = d.store().groups().front();
    group.unlockPolicy = UnlockPolicy::waitToUnlock(60);
    d.store().replaceGroup(group.id, group);
    bool unlocked = false;
    d.overlayController().present(group, d.store(), [&](BlockRuleStore&) { unlocked = true; });

    auto& shield = rig.shell->shieldWindows();
    ASSERT_TRUE(test::waitOnDesktop([&] {
        const auto veils = shield.veils();
        return veils.size() == heads.size() && std::all_of(veils.begin(), veils.end(), [](ShieldVeil* v) {
                   return v->windowHandle() && v->windowHandle()->isExposed();
               });
    }));
    // Where the X server has the veils, which need not be where Qt asked for them.
    for (const QRect& head : heads) {
        EXPECT_TRUE(test::waitOnDesktop([&] {
            const auto veils = shield.veils();
            return std::any_of(veils.begin(), veils.end(),
                               [&](ShieldVeil* v) { return test::xGeometry(*v).contains(head); });
        })) << "the head at "
            << head.x() << "," << head.y() << " is covered";
    }
    ASSERT_TRUE(test::waitOnDesktop([&] { return shield.isGrabbing(); })) << "keyboard and pointer grabbed";

    // With the grab held the window manager never sees its switching shortcut: Kivo gets the keys.
    TabCounter tabs;
    auto switchReachesKivo = [&] {
        const int before = tabs.presses;
        test::xdotool({"key", "--clearmodifiers", "alt+Tab"});
        return test::waitOnDesktop([&] { return tabs.presses > before; });
    };
    EXPECT_TRUE(switchReachesKivo()) << "the window manager's switch went to the shield";
    EXPECT_TRUE(d.overlayController().isShown());

    // Minimised from outside, which unmaps it and ends its grab, the primary veil comes back where it was
    // and grabs again.
    ShieldVeil* primary = nullptr;
    for (ShieldVeil* v : shield.veils())
        primary = v->isPrimary() ? v : primary;
    ASSERT_TRUE(primary);
    const QRect covered = test::xGeometry(*primary);
    int hidden = 0;
    QObject::connect(primary, &ShieldVeil::hiddenFromOutside, [&] { ++hidden; });
    test::xdotool({"windowminimize", QString::number(primary->winId())});
    ASSERT_TRUE(test::waitOnDesktop([&] { return hidden > 0; })) << "the window manager hid the veil";
    ASSERT_TRUE(test::waitOnDesktop([&] {
        return primary->windowHandle()->isExposed() && !primary->isMinimized() && shield.isGrabbing();
    })) << "shown again and grabbing";
    EXPECT_TRUE(test::waitOnDesktop([&] { return test::xGeometry(*primary) == covered; })) << "in its place";
    EXPECT_TRUE(switchReachesKivo()) << "the grab was taken again";
    EXPECT_FALSE(shield.isRetryingGrab());

    // Over the other head, and only then the key.
    const auto beside =
        std::find_if(heads.begin(), heads.end(), [&](const QRect& h) { return !covered.contains(h); });
    ASSERT_NE(beside, heads.end());
    ASSERT_TRUE(test::xdotool({"mousemove", "--sync", QString::number(beside->center().x()),
                               QString::number(beside->center().y())}));
    test::xdotool({"key", "Escape"});
    EXPECT_TRUE(test::waitOnDesktop([&] { return !d.overlayController().isShown(); })) << "Escape cancels";
    EXPECT_FALSE(unlocked);
    EXPECT_FALSE(shield.isGrabbing()) << "the grabs are released";
}

} // namespace
} // namespace kivo
