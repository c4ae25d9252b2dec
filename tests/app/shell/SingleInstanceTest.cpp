#include "app/shell/SingleInstance.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

#include <unistd.h>

namespace kivo {
namespace {

TEST(SingleInstance, ALaterStartHandsOverAndNoiseIsIgnored) {
    QTemporaryDir dir;
    SingleInstance first(dir.path() + "/kivo");
    int reopens = 0;
    QObject::connect(&first, &SingleInstance::reopenRequested, [&] { ++reopens; });
    ASSERT_EQ(first.start(), SingleInstance::Role::primary);

    QLocalSocket noise;
    noise.connectToServer(first.socketPath());
    ASSERT_TRUE(noise.waitForConnected(1000));
    noise.write(QByteArray(200, 'x'));
    noise.flush();
    EXPECT_TRUE(test::waitUntil([&] { return noise.state() == QLocalSocket::UnconnectedState; }))
        << "a peer that is not Kivo is dropped";
    EXPECT_EQ(reopens, 0);

    // The second start blocks on the socket, so it runs where the first one's event loop can answer.
    std::atomic<int> role{-1};
    QThread* second = QThread::create([&] {
        SingleInstance instance(dir.path() + "/kivo");
        role = static_cast<int>(instance.start(std::chrono::milliseconds(2000)));
    });
    second->start();
    EXPECT_TRUE(test::waitUntil([&] { return second->isFinished(); }));
    delete second;
    EXPECT_EQ(role, static_cast<int>(SingleInstance::Role::handedOver));
    EXPECT_EQ(reopens, 1);
}

TEST(SingleInstance, ALockLeftByADeadProcessIsTakenOver) {
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/kivo");
    // A lock file naming a process that no longer exists, and its socket file left behind.
    test::writeFile(dir.path() + "/kivo/kivo.lock",
                    "999999\nkivo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    test::writeFile(dir.path() + "/kivo/kivo.socket", "");
    SingleInstance instance(dir.path() + "/kivo");
    EXPECT_EQ(instance.start(std::chrono::milliseconds(500)), SingleInstance::Role::primary);
}

TEST(SingleInstance, AFolderOfAnotherUserFailsAtOnceNamingIt) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can hand a folder to another user";
    }
    constexpr uid_t nobody = 65534;
    struct Row {
        const char* made;  // folders made beforehand, under the test's own folder
        const char* given; // the one handed to another user
        const char* named; // the folder the message names
    };
    const Row rows[] = {
        {"run", "run", "run"},                           // a runtime directory inherited through su
        {"run/kivo", "run/kivo", "run/kivo"},            // Kivo's folder made by another user
        {"tmp-kivo-0", "tmp-kivo-0", "tmp-kivo-0"},      // the temporary-directory fallback, planted
        {"tmp-kivo-0/kivo", "tmp-kivo-0", "tmp-kivo-0"}, // the same, with Kivo's folder already inside
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.made);
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkpath(row.made));
        const QString given = dir.path() + "/" + row.given;
        ASSERT_EQ(::chown(QFile::encodeName(given).constData(), nobody, nobody), 0);
        const QString kivoDir = dir.path() + "/" + QString(row.made).section('/', 0, 0) + "/kivo";

        SingleInstance instance(kivoDir);
        QElapsedTimer took;
        took.start();
        // Refused at once: waiting for an answer would take the whole minute.
        EXPECT_EQ(instance.start(std::chrono::minutes(1)), SingleInstance::Role::failed);
        EXPECT_LT(took.elapsed(), 20000);
        EXPECT_TRUE(
            instance.errorString().contains(dir.path() + "/" + row.named + " belongs to another user"))
            << instance.errorString().toStdString();
        EXPECT_FALSE(QFileInfo::exists(kivoDir + "/kivo.lock")) << "nothing written into it";
    }
}

} // namespace
} // namespace kivo
