#include "app/shell/SingleInstance.h"

#include "core/Log.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo {

namespace {
constexpr QByteArrayView kReopen = "reopen\n";
constexpr QByteArrayView kDone = "ok\n";
constexpr int kSocketTimeoutMs = 1000;

// Empty when `path` is a folder of this user; otherwise why it cannot hold Kivo's lock. A symbolic
// link counts as someone else's: it could point anywhere.
QString unusableBecause(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("%1 cannot be read: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("%1 is not a folder").arg(path);
    if (info.st_uid != ::geteuid())
        return QStringLiteral("%1 belongs to another user (uid %2), not to this one (uid %3)")
            .arg(path)
            .arg(info.st_uid)
            .arg(::geteuid());
    return {};
}

} // namespace

SingleInstance::SingleInstance(QString directory, QObject* parent)
    : QObject(parent), directory_(std::move(directory)) {}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
}

QString SingleInstance::defaultDirectory() {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir::isAbsolutePath(runtime))
        runtime = QDir::tempPath() + QStringLiteral("/kivo-%1").arg(getuid());
    return runtime + QStringLiteral("/kivo");
}

QString SingleInstance::socketPath() const {
    return directory_ + QStringLiteral("/kivo.socket");
}

SingleInstance::Role SingleInstance::fail(const QString& reason) {
    error_ = reason;
    qCCritical(lcLifecycle, "Single instance: %s", qUtf8Printable(reason));
    return Role::failed;
}

bool SingleInstance::prepareDirectory() {
    const QString parent = QFileInfo(directory_).absolutePath();
    // Made private to the user from the start; an existing one is checked below, whoever made it.
    for (const QString& path : {parent, directory_}) {
        if (!QFileInfo::exists(path)) {
            if (!QDir().mkpath(path)) {
                fail(QStringLiteral("cannot create %1: %2")
                         .arg(path, QString::fromLocal8Bit(strerror(errno))));
                return false;
            }
            ::chmod(QFile::encodeName(path).constData(), S_IRWXU);
        }
        if (const QString reason = unusableBecause(path); !reason.isEmpty()) {
            fail(reason);
            return false;
        }
    }
    ::chmod(QFile::encodeName(directory_).constData(), S_IRWXU);
    return true;
}

SingleInstance::Role SingleInstance::start(std::chrono::milliseconds patience) {
    error_.clear();
    if (!prepareDirectory())
        return Role::failed;
    lock_ = std::make_unique<QLockFile>(directory_ + QStringLiteral("/kivo.lock"));
    // A lock whose process is gone counts as stale at once, whatever its age.
    lock_->setStaleLockTime(0);

    QElapsedTimer waited;
    waited.start();
    while (true) {
        if (lock_->tryLock(0)) {
            if (listen())
                return Role::primary;
            return fail(QStringLiteral("cannot listen on %1: %2").arg(socketPath(), server_->errorString()));
        }
        // Only a lock held by a live Kivo is worth waiting for.
        if (lock_->error() != QLockFile::LockFailedError)
            return fail(QStringLiteral("cannot take the lock in %1 (%2)")
                            .arg(directory_, lock_->error() == QLockFile::PermissionError
                                                 ? QStringLiteral("permission denied")
                                                 : QStringLiteral("unknown error")));
        if (tellRunningInstance())
            return Role::handedOver;
        // The holder may be starting and not listening yet, or have just died: try both again.
        if (waited.elapsed() >= patience.count())
            break;
        QThread::msleep(50);
    }
    return fail(QStringLiteral("another Kivo holds the lock in %1 but does not answer").arg(directory_));
}

bool SingleInstance::listen() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the lock holder gets here, so a socket file left behind is a dead instance's.
    QLocalServer::removeServer(socketPath());
    if (!server_->listen(socketPath()))
        return false;
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                // Anything beyond one short line is not from Kivo.
                if (peer->bytesAvailable() > 64) {
                    peer->abort();
                    return;
                }
                if (!peer->canReadLine())
                    return;
                const QByteArray line = peer->readLine();
                if (line == kReopen.toByteArray()) {
                    peer->write(kDone.data(), kDone.size());
                    peer->flush();
                    emit reopenRequested();
                }
                peer->disconnectFromServer();
            });
        }
    });
    return true;
}

bool SingleInstance::tellRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(kSocketTimeoutMs))
        return false;
    socket.write(kReopen.data(), kReopen.size());
    if (!socket.waitForBytesWritten(kSocketTimeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kSocketTimeoutMs))
            return false;
    }
    return socket.readLine() == kDone.toByteArray();
}

} // namespace kivo
