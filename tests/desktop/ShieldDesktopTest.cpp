#include "app/rules/BlockRuleStore.h"
#include "app/shell/AppDelegate.h"
#include "app/shield/ShieldOverlayController.h"
#include "desktop/DesktopSupport.h"
#include "platform/linux/LogindSessionLock.h"
#include "platform/linux/XScreenSaverLock.h"
#include "support/StandInLoginManager.h"
#include "ui/ShellRig.h"
#include "ui/shield/KeyboardWatch.h"
#include "ui/shield/QtShieldWindowSystem.h"
#include "ui/shield/ShieldVeil.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QKeyEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

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
            report << QStringLiteral("veil at %1,%2 under %3")
                          .arg(place.x())
                          .arg(place.y())
                          .arg(above.join(", "));
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
    const auto onTop = [&] {
        return test::waitOnDesktop([&] { return uncovered(shield.veils()).isEmpty(); });
    };
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
        ASSERT_TRUE(test::runOnDesktop(QStringLiteral("xrandr"),
                                       {"--output", "DUMMY1", "--mode", "1280x800", "--right-of", "DUMMY0"}));
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
    ASSERT_TRUE(test::waitOnDesktop([&] {
        return primary->windowHandle()->isExposed() && shield.isGrabbing();
    })) << "shown again and grabbing";
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

// Running and not a zombie.
bool alive(qint64 pid) {
    const QByteArray stat = test::readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype end = stat.lastIndexOf(')');
    return end > 0 && stat.size() > end + 2 && stat[end + 2] != 'Z';
}

// Each veil that the windows over it (the locker's) leave more than a tenth of uncovered.
QStringList notUnderLocker(const std::vector<ShieldVeil*>& veils) {
    static const QRegularExpression place(QStringLiteral(R"((\d+)x(\d+)\+(-?\d+)\+(-?\d+)$)"));
    QStringList report;
    for (ShieldVeil* veil : veils) {
        const QRect area = test::xGeometry(*veil);
        const QStringList above = test::xWindowsAbove(*veil, area);
        qint64 best = 0;
        for (const QString& window : above) {
            const auto m = place.match(window);
            const QRect over = QRect(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(),
                                     m.captured(2).toInt()) &
                               area;
            best = std::max<qint64>(best, qint64(over.width()) * over.height());
        }
        if (best * 10 < qint64(area.width()) * area.height() * 9)
            report
                << QStringLiteral("veil at %1,%2 under %3").arg(area.x()).arg(area.y()).arg(above.join(", "));
    }
    return report;
}

// xscreensaver will not lock for root: run as root, it runs as an ordinary user made for it, with a
// home of its own.
struct LockerUser {
    static constexpr const char* name = "kivo-locker";
    QTemporaryDir home;
    QStringList prefix;
    LockerUser() {
        test::writeFile(home.filePath(".xscreensaver"),
                        "mode: blank\nlock: True\nfade: False\nunfade: False\n"
                        "splash: False\ntimeout: 1:00:00\n");
        if (geteuid() == 0) {
            if (!getpwnam(name)) {
                EXPECT_EQ(
                    QProcess::execute(QStringLiteral("useradd"), {"-M", "-s", "/usr/sbin/nologin", name}), 0);
            }
            const passwd* user = getpwnam(name);
            EXPECT_TRUE(user);
            for (const QString& path : {home.path(), home.filePath(".xscreensaver")}) {
                EXPECT_TRUE(user && chown(path.toLocal8Bit().constData(), user->pw_uid, user->pw_gid) == 0);
            }
            test::runOnDesktop(QStringLiteral("xhost"), {QStringLiteral("+SI:localuser:%1").arg(name)});
            prefix = QStringList{"setpriv", QStringLiteral("--reuid=%1").arg(name),
                                 QStringLiteral("--regid=%1").arg(name), "--init-groups"};
        }
        prefix << "env"
               << "HOME=" + home.path();
    }
};

// A ten-minute countdown for the first group; the flag tells whether it unlocked.
std::shared_ptr<bool> presentTenMinutes(test::ShellRig& rig) {
    auto& d = rig.shell->delegate();
    auto group = d.store().groups().front();
    group.unlockPolicy = UnlockPolicy::waitToUnlock(600);
    d.store().replaceGroup(group.id, group);
    auto unlocked = std::make_shared<bool>(false);
    d.overlayController().present(group, d.store(), [unlocked](BlockRuleStore&) { *unlocked = true; });
    return unlocked;
}

// Waits until the shield has a veil on each of `heads` monitors above every window and holds the grabs.
bool wholeOn(QtShieldWindowSystem& shield, std::size_t heads) {
    return test::waitOnDesktop([&] {
        const auto veils = shield.veils();
        return veils.size() == heads && !shield.isYielding() && shield.isGrabbing() &&
               uncovered(veils).isEmpty();
    });
}

class ShieldUnderALocker : public ::testing::TestWithParam<std::string> {};

// The session locks, or sleeps and wakes, during a countdown; the real locker is started on the
// login manager's signal, as its launcher starts it.
TEST_P(ShieldUnderALocker, LetsTheLockerHoldTheScreenAndIsWholeAgainAfterIt) {
    const std::vector<QRect> heads = test::xHeads();
    ASSERT_EQ(heads.size(), 2u) << "needs two monitors";
    test::StandInLoginManager login;
    ASSERT_TRUE(login.isUp()) << "the stand-in login manager is on its bus";
    // As Kivo reaches it, through DBUS_SYSTEM_BUS_ADDRESS (read once per process: one locker a run).
    LogindSessionLock sessionLock(QDBusConnection::connectToBus(QDBusConnection::SystemBus, "kivo-test-kivo"),
                                  static_cast<quint32>(getpid()), QString());
    ASSERT_TRUE(test::waitOnDesktop([&] { return !sessionLock.sessionPath().isEmpty(); }))
        << "Kivo found its session by its process";
    test::ShellRig rig;
    rig.shell->launch();
    auto& d = rig.shell->delegate();
    d.overlayController().followSessionLock(sessionLock);
    const auto unlocked = presentTenMinutes(rig);
    auto& shield = rig.shell->shieldWindows();
    const auto whole = [&] { return wholeOn(shield, heads.size()); };
    ASSERT_TRUE(whole()) << uncovered(shield.veils()).join("; ").toStdString();
    const auto remaining = [&] { return d.overlayController().countdownState()->remainingSeconds; };
    KeyboardWatch probe;
    const auto held = [&] { return probe.heldByOther().value_or(false); };
    QWidget notice(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
    notice.setGeometry(heads.front().x() + 20, heads.front().y() + 20, 200, 80);

    const bool daemon = GetParam() == "xscreensaver";
    LockerUser user;
    QStringList command{QString::fromStdString(GetParam())};
    if (GetParam() == "i3lock")
        command << "-n"; // stays in front, so its process is the locker's
    if (daemon)
        command = user.prefix + QStringList{"xscreensaver-command", "-lock"};
    for (const QString trigger : {"Lock", "Sleep"}) {
        SCOPED_TRACE(trigger.toStdString());
        QProcess saver;
        if (daemon) {
            saver.setProcessChannelMode(QProcess::ForwardedChannels);
            saver.start(user.prefix.front(), user.prefix.mid(1) + QStringList{"xscreensaver", "-no-splash"});
            ASSERT_TRUE(test::waitOnDesktop([&] {
                QProcess version;
                version.start(user.prefix.front(),
                              user.prefix.mid(1) + QStringList{"xscreensaver-command", "-version"});
                return version.waitForFinished() && version.exitCode() == 0;
            })) << "xscreensaver runs";
        }
        const qint64 left = remaining();
        const qint64 started = login.call(trigger, command);
        const qint64 locker = daemon ? saver.processId() : started;
        ASSERT_TRUE(test::waitOnDesktop([&] { return shield.isYielding() && !shield.isGrabbing(); }));
        ASSERT_TRUE(test::waitOnDesktop([&] { return held() && notUnderLocker(shield.veils()).isEmpty(); }))
            << "the locker holds the keyboard, over every veil: "
            << notUnderLocker(shield.veils()).join("; ").toStdString();
        if (trigger == "Sleep")
            login.call("Wake");
        // Windows mapped over everything, which the veils would answer by raising themselves.
        for (int i = 0; i < 3; ++i) {
            notice.show();
            ASSERT_TRUE(test::waitOnDesktop([&] { return test::xViewable(notice); }));
            notice.hide();
            ASSERT_TRUE(test::waitOnDesktop([&] { return !test::xViewable(notice); }));
        }
        test::xdotool({"key", "Escape"});
        // Past the second a locker keeps trying to grab, and the shield's own two seconds of grab retries.
        QElapsedTimer since;
        since.start();
        test::waitOnDesktop([&] { return !alive(locker) || since.elapsed() > 3000; });
        EXPECT_TRUE(alive(locker)) << "the locker still runs";
        EXPECT_TRUE(held()) << "and holds the keyboard";
        EXPECT_TRUE(notUnderLocker(shield.veils()).isEmpty())
            << notUnderLocker(shield.veils()).join("; ").toStdString();
        EXPECT_TRUE(d.overlayController().isShown()) << "Escape at the lock screen is the locker's";
        rig.clock.advance(std::chrono::seconds(5));
        EXPECT_EQ(remaining(), left) << "the countdown stands still while locked";

        // The user unlocks: the locker ends.
        ASSERT_EQ(kill(static_cast<pid_t>(locker), SIGTERM), 0);
        ASSERT_TRUE(test::waitOnDesktop([&] { return !alive(locker); }));
        EXPECT_TRUE(whole()) << uncovered(shield.veils()).join("; ").toStdString();
        rig.clock.advance(std::chrono::seconds(1));
        EXPECT_EQ(remaining(), left - 1) << "the countdown goes on";
        saver.waitForFinished();
    }
    test::xdotool({"key", "Escape"});
    EXPECT_TRUE(test::waitOnDesktop([&] { return !d.overlayController().isShown(); })) << "Escape cancels";
    EXPECT_FALSE(*unlocked);
}

INSTANTIATE_TEST_SUITE_P(Lockers, ShieldUnderALocker,
                         ::testing::Values("i3lock", "xsecurelock", "xscreensaver"),
                         [](const auto& info) { return info.param; });

// An idle lock: with no input the X server's screen saver turns on and xss-lock starts the locker, with
// no word to logind first.
TEST(ShieldUnderAnIdleLock, LetsTheLockerOfTheServersScreenSaverHoldTheScreen) {
    const std::vector<QRect> heads = test::xHeads();
    ASSERT_EQ(heads.size(), 2u) << "needs two monitors";
    test::StandInLoginManager login; // xss-lock follows a login session too
    ASSERT_TRUE(login.isUp());
    XScreenSaverLock idleLock;
    ASSERT_TRUE(test::waitOnDesktop([&] { return idleLock.isFollowing(); }));
    test::ShellRig rig;
    rig.shell->launch();
    auto& d = rig.shell->delegate();
    d.overlayController().followSessionLock(idleLock);
    presentTenMinutes(rig);
    auto& shield = rig.shell->shieldWindows();
    const auto whole = [&] { return wholeOn(shield, heads.size()); };
    ASSERT_TRUE(whole()) << uncovered(shield.veils()).join("; ").toStdString();
    KeyboardWatch probe;
    const auto held = [&] { return probe.heldByOther().value_or(false); };

    QProcess launcher;
    launcher.setProcessChannelMode(QProcess::ForwardedChannels);
    launcher.start(QStringLiteral("xss-lock"), {"--session=c7", "--ignore-sleep", "--", "i3lock", "-n"});
    ASSERT_TRUE(launcher.waitForStarted());
    ASSERT_TRUE(test::runOnDesktop(QStringLiteral("xset"), {"s", "3", "0"}));
    qint64 pid = 0;
    ASSERT_TRUE(test::waitOnDesktop([&] {
        QProcess find;
        find.start(QStringLiteral("pgrep"), {"-P", QString::number(launcher.processId()), "i3lock"});
        find.waitForFinished();
        pid = find.readAllStandardOutput().trimmed().toLongLong();
        return pid > 0;
    })) << "the screen saver turned on and xss-lock started i3lock";
    ASSERT_TRUE(test::waitOnDesktop([&] { return held() && notUnderLocker(shield.veils()).isEmpty(); }))
        << "i3lock holds the keyboard, over every veil: "
        << notUnderLocker(shield.veils()).join("; ").toStdString();
    test::xdotool({"key", "Escape"});
    QElapsedTimer since;
    since.start();
    test::waitOnDesktop([&] { return !alive(pid) || since.elapsed() > 3000; });
    EXPECT_TRUE(alive(pid) && held()) << "i3lock still runs and holds the keyboard";
    EXPECT_TRUE(d.overlayController().isShown()) << "Escape at the lock screen is i3lock's";

    // The user unlocks; no second idle lock follows.
    ASSERT_TRUE(test::runOnDesktop(QStringLiteral("xset"), {"s", "off"}));
    ASSERT_TRUE(test::runOnDesktop(QStringLiteral("xset"), {"s", "reset"}));
    kill(static_cast<pid_t>(pid), SIGTERM);
    ASSERT_TRUE(test::waitOnDesktop([&] { return !alive(pid); }));
    EXPECT_TRUE(whole()) << uncovered(shield.veils()).join("; ").toStdString();
    launcher.terminate();
    launcher.waitForFinished();
    test::xdotool({"key", "Escape"});
    EXPECT_TRUE(test::waitOnDesktop([&] { return !d.overlayController().isShown(); })) << "Escape cancels";
}

// A locker that tells no one before it locks, as xautolock or a desktop's own idle timer starts one: the
// shield lets go of the keyboard while the user is away, so the locker can take it, and takes it back only
// once the locker lets go.
TEST(ShieldWhileAway, LetsALockerThatTellsNoOneTakeTheKeyboard) {
    using namespace std::chrono_literals;
    const std::vector<QRect> heads = test::xHeads();
    ASSERT_EQ(heads.size(), 2u) << "needs two monitors";
    XScreenSaverLock idle;
    ASSERT_TRUE(test::waitOnDesktop([&] { return idle.isFollowing(); }));
    test::ShellRig rig;
    rig.shell->launch();
    auto& d = rig.shell->delegate();
    auto& controller = d.overlayController();
    controller.followUserIdle(idle, 1s);
    presentTenMinutes(rig);
    auto& shield = rig.shell->shieldWindows();
    const auto whole = [&] { return wholeOn(shield, heads.size()); };
    ASSERT_TRUE(whole()) << uncovered(shield.veils()).join("; ").toStdString();
    KeyboardWatch probe;
    const auto held = [&] { return probe.heldByOther().value_or(false); };
    // The countdown's clock is the test's: it moves while the desktop is left alone.
    const auto onward = [&](auto&& done) {
        return test::waitOnDesktop([&] {
            rig.clock.advance(200ms);
            return done();
        });
    };
    ASSERT_TRUE(onward([&] { return controller.isAsideWhileAway() && !shield.isGrabbing(); }));

    QProcess locker;
    locker.setProcessChannelMode(QProcess::ForwardedChannels);
    locker.start(QStringLiteral("i3lock"), {"-n"});
    ASSERT_TRUE(test::waitOnDesktop([&] { return held() && notUnderLocker(shield.veils()).isEmpty(); }))
        << "i3lock holds the keyboard, over every veil: "
        << notUnderLocker(shield.veils()).join("; ").toStdString();
    // The user is back, at the lock screen: the shield leaves the locker the keyboard and its countdown
    // waits.
    test::xdotool({"key", "a"});
    ASSERT_TRUE(onward([&] { return controller.isYieldingToLock(); }));
    const auto left = controller.countdownState()->remainingSeconds;
    QElapsedTimer since;
    since.start();
    onward([&] { return locker.state() != QProcess::Running || since.elapsed() > 2000; });
    EXPECT_EQ(locker.state(), QProcess::Running) << "i3lock still runs";
    EXPECT_TRUE(held()) << "and holds the keyboard";
    EXPECT_EQ(controller.countdownState()->remainingSeconds, left) << "the countdown waits";

    // Unlocked: the shield is whole again.
    locker.terminate();
    ASSERT_TRUE(locker.waitForFinished());
    EXPECT_TRUE(whole()) << uncovered(shield.veils()).join("; ").toStdString();
    test::xdotool({"key", "Escape"});
    EXPECT_TRUE(test::waitOnDesktop([&] { return !controller.isShown(); })) << "Escape cancels";
}

} // namespace
} // namespace kivo
