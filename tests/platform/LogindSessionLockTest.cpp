#include "platform/linux/LogindSessionLock.h"
#include "support/StandInLoginManager.h"

#include <gtest/gtest.h>

#include <vector>

namespace kivo {
namespace {

using Change = SessionLockSource::Change;

TEST(LogindSessionLockTest, FollowsTheSessionLogindNamesForTheProcessNotAnyOther) {
    struct Case {
        const char* name;
        qint64 pidOfTheSession;
        QString xdgSessionId;
        bool follows;
    };
    const std::vector<Case> cases = {
        {"by its process", getpid(), QString(), true},
        {"by XDG_SESSION_ID where the process is in none", 1, QStringLiteral("c7"), true},
        {"neither: the \"auto\" alias alone names none", 1, QStringLiteral("c9"), false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::StandInLoginManager login(c.pidOfTheSession);
        ASSERT_TRUE(login.isUp());
        test::LogCapture log;
        const QString connection = QStringLiteral("kivo-test-session-lock-%1").arg(++n);
        std::vector<Change> changes;
        {
            LogindSessionLock lock(QDBusConnection::connectToBus(login.address(), connection),
                                   static_cast<quint32>(getpid()), c.xdgSessionId);
            lock.setSessionLockHandler([&](Change change) { changes.push_back(change); });
            ASSERT_TRUE(test::waitUntil([&] {
                return !lock.sessionPath().isEmpty() || log.contains("logind names no session for Kivo");
            }));
            EXPECT_EQ(lock.sessionPath(), c.follows ? "/org/freedesktop/login1/session/c7" : "");
            for (const char* call :
                 {"Lock", "Unlock", "SetLockedHint true", "SetLockedHint false", "Sleep", "Wake"})
                login.call(QString::fromLatin1(call));
            const std::vector<Change> expected =
                c.follows ? std::vector<Change>{Change::locked,   Change::unlocked, Change::locked,
                                                Change::unlocked, Change::sleeping, Change::woke}
                          : std::vector<Change>{Change::sleeping, Change::woke};
            EXPECT_TRUE(test::waitUntil([&] { return changes.size() >= expected.size(); }));
            EXPECT_EQ(changes, expected);
        }
        QDBusConnection::disconnectFromBus(connection);
    }
}

} // namespace
} // namespace kivo
