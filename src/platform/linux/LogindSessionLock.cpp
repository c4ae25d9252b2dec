#include "platform/linux/LogindSessionLock.h"

#include "core/Log.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <unistd.h>

namespace kivo {

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kLockedHint = QStringLiteral("LockedHint");
// logind answers at once; a bus that does not must not hold the start up.
constexpr int kCallTimeoutMs = 5000;

} // namespace

LogindSessionLock::LogindSessionLock(QObject* parent)
    : LogindSessionLock(QDBusConnection::systemBus(), static_cast<quint32>(getpid()),
                        qEnvironmentVariable("XDG_SESSION_ID"), parent) {}

LogindSessionLock::LogindSessionLock(QDBusConnection bus, quint32 pid, QString sessionId, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), pid_(pid), sessionId_(std::move(sessionId)) {
    if (!bus_.isConnected() ||
        !bus_.connect(kService, kManagerPath, kManager, QStringLiteral("PrepareForSleep"), this,
                      SLOT(onPrepareForSleep(bool)))) {
        qCWarning(lcLifecycle, "Cannot follow the session's lock: no connection to logind");
        return;
    }
    QStringList ways{QStringLiteral("pid")};
    if (!sessionId_.isEmpty())
        ways << QStringLiteral("id");
    ways << QStringLiteral("auto");
    findSession(ways);
}

void LogindSessionLock::setSessionLockHandler(std::function<void(Change)> handler) {
    handler_ = std::move(handler);
}

void LogindSessionLock::findSession(QStringList ways) {
    if (ways.isEmpty()) {
        qCWarning(lcLifecycle, "Cannot follow the session's lock: logind names no session for Kivo");
        return;
    }
    const QString way = ways.takeFirst();
    QDBusMessage call;
    if (way == QLatin1String("pid")) {
        call = QDBusMessage::createMethodCall(kService, kManagerPath, kManager,
                                              QStringLiteral("GetSessionByPID"));
        call << pid_;
    } else {
        call = QDBusMessage::createMethodCall(kService, kManagerPath, kManager, QStringLiteral("GetSession"));
        call << (way == QLatin1String("id") ? sessionId_ : QStringLiteral("auto"));
    }
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, way, ways] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (reply.isError() || reply.value().path().isEmpty()) {
            qCDebug(lcLifecycle, "logind names no session by %s: %s", qUtf8Printable(way),
                    qUtf8Printable(reply.error().message()));
            findSession(ways);
            return;
        }
        follow(reply.value().path());
    });
}

void LogindSessionLock::follow(const QString& path) {
    const bool lock = bus_.connect(kService, path, kSession, QStringLiteral("Lock"), this, SLOT(onLock()));
    const bool unlock =
        bus_.connect(kService, path, kSession, QStringLiteral("Unlock"), this, SLOT(onUnlock()));
    const bool hint = bus_.connect(kService, path, kProperties, QStringLiteral("PropertiesChanged"), this,
                                   SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    if (!lock || !unlock || !hint) {
        qCWarning(lcLifecycle, "Cannot follow the lock of session %s", qUtf8Printable(path));
        return;
    }
    sessionPath_ = path;
    qCInfo(lcLifecycle, "Following the lock of session %s", qUtf8Printable(path));
}

void LogindSessionLock::onPrepareForSleep(bool sleeping) {
    report(sleeping ? Change::sleeping : Change::woke);
}

void LogindSessionLock::onLock() {
    report(Change::locked);
}

void LogindSessionLock::onUnlock() {
    report(Change::unlocked);
}

void LogindSessionLock::onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                            const QStringList& invalidated) {
    if (interface != kSession)
        return;
    const auto hint = changed.constFind(kLockedHint);
    if (hint != changed.constEnd())
        report(hint->toBool() ? Change::locked : Change::unlocked);
    else if (invalidated.contains(kLockedHint))
        readLockedHint();
}

void LogindSessionLock::readLockedHint() {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, sessionPath_, kProperties, QStringLiteral("Get"));
    call << kSession << kLockedHint;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *watcher;
        if (!reply.isError())
            report(reply.value().variant().toBool() ? Change::locked : Change::unlocked);
    });
}

void LogindSessionLock::report(Change change) {
    qCDebug(lcLifecycle, "logind: session change %d", static_cast<int>(change));
    if (handler_) {
        auto handler = handler_;
        handler(change);
    }
}

} // namespace kivo
