#include "platform/linux/XScreenSaverLock.h"
#include "support/TestSupport.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <vector>

namespace kivo {
namespace {

using Change = SessionLockSource::Change;

// On a private X server: the screen saver forced on and off, with the extension and without it.
TEST(XScreenSaverLockTest, ReportsTheServersScreenSaverOnAsLockedAndOffAsUnlocked) {
    for (const bool extension : {true, false}) {
        SCOPED_TRACE(extension ? "with the extension" : "without it");
        QProcess server;
        QStringList arguments{"-displayfd", "1", "-nolisten", "tcp"};
        if (!extension)
            arguments << "-extension"
                      << "MIT-SCREEN-SAVER";
        server.start(QStringLiteral("Xvfb"), arguments);
        ASSERT_TRUE(server.waitForReadyRead(20000));
        const QByteArray display = ":" + server.readLine().trimmed();
        test::LogCapture log;
        std::vector<Change> changes;
        XScreenSaverLock lock(display);
        lock.setSessionLockHandler([&](Change change) { changes.push_back(change); });
        ASSERT_TRUE(test::waitUntil([&] { return lock.isFollowing() || log.contains("no such extension"); }));
        EXPECT_EQ(lock.isFollowing(), extension);
        for (const char* step : {"activate", "reset"})
            EXPECT_EQ(QProcess::execute(QStringLiteral("xset"), {"-display", display, "s", step}), 0);
        const std::vector<Change> expected =
            extension ? std::vector<Change>{Change::locked, Change::unlocked} : std::vector<Change>{};
        // Without the extension nothing was asked for, so nothing can come.
        test::processEvents();
        EXPECT_TRUE(test::waitUntil([&] { return changes.size() >= expected.size(); }));
        EXPECT_EQ(changes, expected);
        server.terminate();
        server.waitForFinished();
    }
}

} // namespace
} // namespace kivo
