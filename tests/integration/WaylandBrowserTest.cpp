// A browser running natively on Wayland, on the private desktop of scripts/with-desktop: a headless
// Wayland compositor, and Firefox on it with no X window, on the same accessibility bus as the X browsers.
#include "RealDesktop.h"

#include "platform/linux/LinuxBusBrowsers.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using namespace std::chrono_literals;

const QString kSocket = QStringLiteral("kivo-test-wayland");

class WaylandBrowserTest : public ::testing::Test {
protected:
    ~WaylandBrowserTest() override {
        for (QProcess* process : {&firefox, &weston}) {
            process->kill();
            process->waitForFinished(5000);
        }
    }

    void startWeston() {
        weston.setStandardOutputFile(home.filePath("weston.log"));
        weston.setProcessChannelMode(QProcess::MergedChannels);
        weston.start(QStringLiteral("weston"), {QStringLiteral("--backend=headless-backend.so"),
                                                "--socket=" + kSocket, QStringLiteral("--idle-time=0")});
        ASSERT_TRUE(weston.waitForStarted(5000)) << "weston (package weston) did not start";
        const QString socket = qEnvironmentVariable("XDG_RUNTIME_DIR") + "/" + kSocket;
        ASSERT_TRUE(test::waitUntil([&] { return QFile::exists(socket); }, test::kDeadline))
            << "no Wayland socket";
    }

    // Firefox on the compositor alone: no X display to fall back to.
    void startFirefox() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocket);
        environment.insert(QStringLiteral("MOZ_ENABLE_WAYLAND"), QStringLiteral("1"));
        firefox.setProcessEnvironment(environment);
        firefox.setStandardOutputFile(QProcess::nullDevice());
        firefox.setStandardErrorFile(home.filePath("firefox.log"));
        QDir().mkpath(home.filePath("profile"));
        firefox.start(QStringLiteral("firefox-esr"),
                      {QStringLiteral("--new-instance"), QStringLiteral("--profile"),
                       home.filePath("profile"), QStringLiteral("about:blank")});
        ASSERT_TRUE(firefox.waitForStarted(5000));
    }

    // What the bus holds, for a failure's message: each browser with its process number and whether the
    // workspace knows a window of it.
    static std::string onTheBus(LinuxBusBrowsers& bus) {
        const auto browsers = bus.browsers();
        if (!browsers) {
            return "unreadable";
        }
        std::string text;
        for (const auto& b : *browsers) {
            const auto known = test::desktop->platform->workspace().runningApplications(b.bundleId);
            const bool seen = std::any_of(known.begin(), known.end(), [&](const auto& app) {
                return app.processId == b.processIds.front();
            });
            text +=
                b.bundleId + " " + std::to_string(b.processIds.front()) + (seen ? " seen; " : " unseen; ");
        }
        return text;
    }
    static std::string tail(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().right(2000).toStdString() : "(none)";
    }

    QTemporaryDir home;
    QProcess weston;
    QProcess firefox;
};

TEST_F(WaylandBrowserTest, AFirefoxRunningNativelyOnWaylandIsNamedAndTheXBrowsersAreNot) {
    ASSERT_TRUE(test::desktop && test::desktop->pid(test::kFirefox) && test::desktop->pid(test::kChrome))
        << "the X browsers are not running";
    startWeston();
    startFirefox();
    auto& tree = test::desktop->platform->tree();
    LinuxBusBrowsers bus([&tree] { return tree.applicationProcesses(); }, true);
    BrowserMonitor::Ports ports = test::desktop->platform->ports();
    ports.busBrowsers = &bus;
    BrowserMonitor monitor(ports, test::desktop->clock, test::desktop->timers);
    const auto watch = monitor.watchUnseenBrowsers();

    ASSERT_TRUE(test::waitUntil(
        [&] { return monitor.unseenBrowserNames() == std::vector<std::string>{"Firefox"}; }, 90s))
        << "Firefox on Wayland was not named; named: " << testing::PrintToString(monitor.unseenBrowserNames())
        << ", Firefox " << (firefox.state() == QProcess::Running ? "running" : "stopped")
        << ", on the bus: " << onTheBus(bus) << "\n"
        << "Firefox's log:\n"
        << tail(home.filePath("firefox.log")) << "\nweston's log:\n"
        << tail(home.filePath("weston.log"));
    const auto onBus = bus.browsers();
    ASSERT_TRUE(onBus);
    for (const int pid : {static_cast<int>(firefox.processId()), *test::desktop->pid(test::kFirefox),
                          *test::desktop->pid(test::kChrome)}) {
        EXPECT_TRUE(std::any_of(onBus->begin(), onBus->end(),
                                [&](const BusBrowsers::Browser& b) { return b.processIds.front() == pid; }))
            << pid << " is not on the bus";
    }

    // Only the X browsers are left on the bus: nothing is named.
    firefox.kill();
    firefox.waitForFinished(5000);
    EXPECT_TRUE(test::waitUntil([&] { return monitor.unseenBrowserNames().empty(); }, test::kDeadline));
}

} // namespace
} // namespace kivo
