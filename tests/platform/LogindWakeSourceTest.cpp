#include "platform/linux/LogindWakeSource.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>

namespace kivo {
namespace {

// A private message bus on which this test plays logind.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        if (!daemon_.waitForStarted(3000) || !daemon_.waitForReadyRead(3000)) {
            return;
        }
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus("kivo-test-listener");
        QDBusConnection::disconnectFromBus("kivo-test-logind");
        daemon_.kill();
        daemon_.waitForFinished(3000);
    }
    bool isUp() const { return !address_.isEmpty(); }
    QDBusConnection connect(const QString& name) { return QDBusConnection::connectToBus(address_, name); }

private:
    QProcess daemon_;
    QString address_;
};

TEST(LogindWakeSourceTest, ReportsOnlyTheEndOfSleep) {
    PrivateBus bus;
    if (!bus.isUp()) {
        GTEST_SKIP() << "dbus-daemon is not available";
    }
    QDBusConnection logind = bus.connect("kivo-test-logind");
    ASSERT_TRUE(logind.registerService("org.freedesktop.login1"));
    LogindWakeSource source(bus.connect("kivo-test-listener"));
    ASSERT_TRUE(source.isConnected());
    int wakes = 0;
    source.setWakeHandler([&] { ++wakes; });

    auto prepare = [&](bool sleeping) {
        auto signal = QDBusMessage::createSignal("/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                                 "PrepareForSleep");
        signal << sleeping;
        ASSERT_TRUE(logind.send(signal));
    };
    prepare(true);
    prepare(false);
    EXPECT_TRUE(test::waitUntil([&] { return wakes == 1; }, std::chrono::seconds(3)));
    prepare(true);
    test::waitUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(wakes, 1);
}

} // namespace
} // namespace kivo
