#pragma once

#include "app/shield/SessionLockSource.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace kivo {

// The session's lock from logind on the system bus. The session is the one logind names for this
// process (GetSessionByPID), else the one XDG_SESSION_ID names, else logind's "auto": its Lock and Unlock
// signals and its LockedHint property are sent on that session's own object. The manager's
// PrepareForSleep tells the sleep and the wake.
class LogindSessionLock final : public QObject, public SessionLockSource {
    Q_OBJECT
public:
    // The system bus, this process and $XDG_SESSION_ID (tests pass a private bus and their own values).
    explicit LogindSessionLock(QObject* parent = nullptr);
    LogindSessionLock(QDBusConnection bus, quint32 pid, QString sessionId, QObject* parent = nullptr);

    void setSessionLockHandler(std::function<void(Change)> handler) override;
    // The session's object path once it is found and followed; empty until then.
    const QString& sessionPath() const { return sessionPath_; }

private slots:
    void onPrepareForSleep(bool sleeping);
    void onLock();
    void onUnlock();
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                             const QStringList& invalidated);

private:
    // Asks logind for the session by each way left in `ways`, in order.
    void findSession(QStringList ways);
    void follow(const QString& path);
    void readLockedHint();
    void report(Change change);

    QDBusConnection bus_;
    quint32 pid_;
    QString sessionId_;
    QString sessionPath_;
    std::function<void(Change)> handler_;
};

} // namespace kivo
