#pragma once

#include "support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace kivo::test {

// A private system bus, named by DBUS_SYSTEM_BUS_ADDRESS while this lives, with tests/desktop/login-manager
// on it: one session "c7", which GetSessionByPID names for `pid` only.
class StandInLoginManager {
public:
    explicit StandInLoginManager(qint64 pid = getpid()) : previous_(qgetenv("DBUS_SYSTEM_BUS_ADDRESS")) {
        const QString config = dir_.filePath(QStringLiteral("bus.conf"));
        writeFile(config,
                  QStringLiteral("<busconfig><type>system</type><listen>unix:path=%1</listen>"
                                 "<auth>EXTERNAL</auth><policy context=\"default\"><allow user=\"*\"/>"
                                 "<allow own=\"*\"/><allow send_destination=\"*\"/>"
                                 "<allow receive_sender=\"*\"/></policy></busconfig>")
                      .arg(dir_.filePath(QStringLiteral("socket")))
                      .toUtf8());
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {"--config-file=" + config, "--nofork", "--print-address"});
        if (!daemon_.waitForReadyRead(20000))
            return;
        address_ = QString::fromUtf8(daemon_.readLine().trimmed());
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address_.toUtf8());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LOGIN_SESSION_PID"), QString::number(pid));
        service_.setProcessEnvironment(environment);
        service_.setProcessChannelMode(QProcess::ForwardedChannels);
        service_.start(QStringLiteral(KIVO_TEST_LOGIN_MANAGER), {});
        bus_ = QDBusConnection::connectToBus(address_, driver_);
        up_ = waitUntil(
            [&] {
                return bus_.interface() &&
                       bus_.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.login1"));
            },
            std::chrono::seconds(20));
    }
    ~StandInLoginManager() {
        QDBusConnection::disconnectFromBus(driver_);
        for (QProcess* p : {&service_, &daemon_}) {
            p->terminate();
            if (!p->waitForFinished(5000))
                p->kill();
            p->waitForFinished();
        }
        if (previous_.isNull())
            qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        else
            qputenv("DBUS_SYSTEM_BUS_ADDRESS", previous_);
    }
    StandInLoginManager(const StandInLoginManager&) = delete;
    StandInLoginManager& operator=(const StandInLoginManager&) = delete;

    bool isUp() const { return up_; }
    // libdbus reads DBUS_SYSTEM_BUS_ADDRESS once per process: a second stand-in is reached by its address.
    const QString& address() const { return address_; }
    // One of the stand-in's own calls: Lock and Sleep send their signal and then start `locker`, giving its
    // process (0 for none); Unlock, Wake; SetLockedHint on the session.
    qint64 call(const QString& method, const QStringList& locker = {}) {
        const bool hint = method.startsWith(QLatin1String("SetLockedHint"));
        QDBusMessage message =
            QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
                                           hint ? QStringLiteral("/org/freedesktop/login1/session/c7")
                                                : QStringLiteral("/org/freedesktop/login1"),
                                           hint ? QStringLiteral("org.freedesktop.login1.Session")
                                                : QStringLiteral("app.kivo.Test.LoginManager"),
                                           hint ? QStringLiteral("SetLockedHint") : method);
        if (hint)
            message << method.endsWith(QLatin1String("true"));
        if (method == QLatin1String("Lock") || method == QLatin1String("Sleep"))
            message << locker;
        const QDBusMessage reply = bus_.call(message);
        EXPECT_NE(reply.type(), QDBusMessage::ErrorMessage) << reply.errorMessage().toStdString();
        return reply.arguments().isEmpty() ? 0 : reply.arguments().front().toLongLong();
    }

private:
    const QString driver_ = QStringLiteral("kivo-test-login-driver");
    QByteArray previous_;
    QString address_;
    QTemporaryDir dir_;
    QProcess daemon_;
    QProcess service_;
    QDBusConnection bus_{QString()};
    bool up_ = false;
};

} // namespace kivo::test
