#include "app/rules/BlockRuleStore.h"
#include "app/shell/AppDelegate.h"
#include "app/shield/ShieldOverlayController.h"
#include "desktop/DesktopSupport.h"
#include "ui/ShellRig.h"
#include "ui/shield/QtShieldWindowSystem.h"
#include "ui/shield/ShieldVeil.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

// Runs on a real X server with two monitors side by side: two RandR outputs, or two screens joined with
// Xinerama, of which Qt sees one screen as wide as both; with a panel along the top of each monitor and
// whichever window manager scripts/with-desktop started.

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

// Each veil with the windows the X server shows over its part of the screen; empty while every veil is on
// top of everything on its monitor.
QStringList uncovered(const std::vector<ShieldVeil*>& veils) {
    QStringList report;
    for (ShieldVeil* veil : veils) {
        const QRect place = test::xGeometry(*veil);
        const QStringList above = test::xWindowsAbove(*veil, place);
        if (!above.isEmpty())
            report << QStringLiteral("veil at %1,%2 under %3").arg(place.x()).arg(place.y()).arg(above.join(", "));
    }
    return report;
}

TEST(ShieldOnTheDesktop, CoversEveryMonitorAboveItsPanelsHoldsTheKeyboardAndEscapeOnTheSecondOneCancels) {
    const std::vector<QRect> heads = test::xHeads();
    ASSERT_EQ(heads.size(), 2u) << "needs two monitors";
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
    group.unlockPolicy = UnlockPolicy::waitToUnlock(120);
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
                               [&](ShieldVeil* v) { return test::xGeometry(*v) == head; });
        })) << "the head at "
            << head.x() << "," << head.y() << " is covered";
    }
    const auto onTop = [&] { return test::waitOnDesktop([&] { return uncovered(shield.veils()).isEmpty(); }); };
    EXPECT_TRUE(onTop()) << uncovered(shield.veils()).join("; ").toStdString();
    ASSERT_TRUE(test::waitOnDesktop([&] { return shield.isGrabbing(); })) << "keyboard and pointer grabbed";

    // With the grab held the window manager never sees its switching shortcut: Kivo gets the keys.
    TabCounter tabs;
    auto switchReachesKivo = [&] {
        // Ahead of the shield's own filter, which a rebuild installs again and which drops a key meant for
        // a window under the veils.
        qApp->installEventFilter(&tabs);
        const int before = tabs.presses;
        test::xdotool({"key", "--clearmodifiers", "alt+Tab"});
        return test::waitOnDesktop([&] { return tabs.presses > before; });
    };
    EXPECT_TRUE(switchReachesKivo()) << "the window manager's switch went to the shield";
    EXPECT_TRUE(d.overlayController().isShown());

    // A task bar asks the window manager to activate another window, which the grabs do not stop.
    ASSERT_TRUE(test::xdotool({"windowactivate", QString::number(other.winId())}));
    EXPECT_TRUE(test::waitOnDesktop([&] { return test::xActiveWindow() == other.winId(); }))
        << "the window manager activated the other window";
    EXPECT_TRUE(onTop()) << uncovered(shield.veils()).join("; ").toStdString();

    // Windows that come up during the countdown: another program's, and a notice that no window manager
    // places, over the first monitor.
    QWidget late;
    late.setWindowTitle(QStringLiteral("late window"));
    late.resize(300, 200);
    late.show();
    QWidget notice(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
    notice.setGeometry(heads.front().x() + 20, heads.front().y() + 20, 200, 80);
    notice.show();
    ASSERT_TRUE(test::waitOnDesktop([&] { return test::xViewable(late) && test::xViewable(notice); }));
    EXPECT_TRUE(onTop()) << uncovered(shield.veils()).join("; ").toStdString();

    // A monitor switched off and on again mid-count, where the desktop has outputs to switch: the veils
    // follow it, on top, and the countdown goes on.
    const auto covers = [&](const std::vector<QRect>& wanted) {
        return test::waitOnDesktop([&] {
            const auto veils = shield.veils();
            return veils.size() == wanted.size() &&
                   std::all_of(wanted.begin(), wanted.end(), [&](const QRect& head) {
                       return std::any_of(veils.begin(), veils.end(), [&](ShieldVeil* v) {
                           return v->windowHandle()->isExposed() && test::xGeometry(*v) == head;
                       });
                   });
        });
    };
    const auto screens = QGuiApplication::screens();
    if (std::any_of(screens.begin(), screens.end(), [](QScreen* s) { return s->name() == "DUMMY1"; })) {
        ASSERT_TRUE(test::runOnDesktop(QStringLiteral("xrandr"), {"--output", "DUMMY1", "--off"}));
        EXPECT_TRUE(covers({heads.front()})) << "one veil on the monitor left";
        ASSERT_TRUE(test::runOnDesktop(QStringLiteral("xrandr"), {"--output", "DUMMY1", "--mode", "1280x800",
                                                                   "--right-of", "DUMMY0"}));
        EXPECT_TRUE(covers(heads)) << "a veil on each monitor again";
        EXPECT_TRUE(onTop()) << uncovered(shield.veils()).join("; ").toStdString();
        EXPECT_TRUE(d.overlayController().isShown());
        ASSERT_TRUE(test::waitOnDesktop([&] { return shield.isGrabbing(); })) << "grabbing again";
    }

    // Unmapped from outside, which ends its grab, the primary veil comes back where it was, on top, and
    // grabs again.
    ShieldVeil* primary = nullptr;
    for (ShieldVeil* v : shield.veils())
        primary = v->isPrimary() ? v : primary;
    ASSERT_TRUE(primary);
    const QRect covered = test::xGeometry(*primary);
    int hidden = 0;
    QObject::connect(&shield, &QtShieldWindowSystem::veilHiddenFromOutside, [&] { ++hidden; });
    test::xdotool({"windowunmap", QString::number(primary->winId())});
    ASSERT_TRUE(test::waitOnDesktop([&] { return hidden > 0; })) << "the veil was seen hidden";
    ASSERT_TRUE(test::waitOnDesktop([&] { return primary->windowHandle()->isExposed() && shield.isGrabbing(); }))
        << "shown again and grabbing";
    EXPECT_TRUE(test::waitOnDesktop([&] { return test::xGeometry(*primary) == covered; })) << "in its place";
    EXPECT_TRUE(onTop()) << uncovered(shield.veils()).join("; ").toStdString();
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
