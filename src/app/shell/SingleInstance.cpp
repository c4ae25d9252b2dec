#include "app/shell/SingleInstance.h"

#include "core/Log.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace kivo {

namespace {
constexpr QByteArrayView kReopen = "reopen\n";
constexpr QByteArrayView kDone = "ok\n";
constexpr int kSocketTimeoutMs = 1000;
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

SingleInstance::Role SingleInstance::start(std::chrono::milliseconds patience) {
    if (!QDir().mkpath(directory_)) {
        qCWarning(lcLifecycle, "Single instance: cannot create %s", qUtf8Printable(directory_));
        return Role::failed;
    }
    QFile::setPermissions(directory_,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    lock_ = std::make_unique<QLockFile>(directory_ + QStringLiteral("/kivo.lock"));
    // A lock whose process is gone counts as stale at once, whatever its age.
    lock_->setStaleLockTime(0);

    QElapsedTimer waited;
    waited.start();
    while (true) {
        if (lock_->tryLock(0))
            return listen() ? Role::primary : Role::failed;
        if (tellRunningInstance())
            return Role::handedOver;
        // The holder may be starting and not listening yet, or have just died: try both again.
        if (waited.elapsed() >= patience.count())
            break;
        QThread::msleep(50);
    }
    qCWarning(lcLifecycle, "Single instance: another Kivo holds the lock but does not answer");
    return Role::failed;
}

bool SingleInstance::listen() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the lock holder gets here, so a socket file left behind is a dead instance's.
    QLocalServer::removeServer(socketPath());
    if (!server_->listen(socketPath())) {
        qCWarning(lcLifecycle, "Single instance: cannot listen on %s: %s", qUtf8Printable(socketPath()),
                  qUtf8Printable(server_->errorString()));
        return false;
    }
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
