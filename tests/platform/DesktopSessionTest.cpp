#include "platform/linux/DesktopSession.h"

#include <QGuiApplication>
#include <QSessionManager>

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(DesktopSession, SavingTheSessionKeepsKivoRunningAndOnlyTheSessionsEndEndsIt) {
    auto* manager = qApp->findChild<QSessionManager*>();
    if (!manager)
        GTEST_SKIP() << "this Qt has no session management";
    DesktopSession session;
    int endings = 0;
    QObject::connect(&session, &DesktopSession::sessionEnding, [&] { ++endings; });

    const struct {
        const char* what;
        std::function<void()> happen;
        int endings;
    } rows[] = {
        {"save the session, or a log-out later cancelled", [&] { emit qApp->commitDataRequest(*manager); },
         0},
        {"save the session's state", [&] { emit qApp->saveStateRequest(*manager); }, 0},
        {"the session manager's die",
         [&] {
             QEvent quit(QEvent::Quit);
             EXPECT_TRUE(QCoreApplication::sendEvent(qApp, &quit)) << "not passed on to the windows";
         },
         1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        manager->setRestartHint(QSessionManager::RestartIfRunning);
        endings = 0;
        row.happen();
        EXPECT_EQ(endings, row.endings);
        if (row.endings == 0) {
            EXPECT_EQ(manager->restartHint(), QSessionManager::RestartNever)
                << "a restore starts no second Kivo";
        }
    }
}

} // namespace
} // namespace kivo
