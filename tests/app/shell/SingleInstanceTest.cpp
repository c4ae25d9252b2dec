#include "app/shell/SingleInstance.h"
#include "support/TestSupport.h"

#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

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

} // namespace
} // namespace kivo
