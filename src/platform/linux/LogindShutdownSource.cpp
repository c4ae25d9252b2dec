#include "platform/linux/LogindShutdownSource.h"

#include "core/Log.h"

namespace kivo {

LogindShutdownSource::LogindShutdownSource(QObject* parent)
    : LogindShutdownSource(QDBusConnection::systemBus(), parent) {}

LogindShutdownSource::LogindShutdownSource(QDBusConnection bus, QObject* parent) : QObject(parent) {
    connected_ =
        bus.isConnected() &&
        bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForShutdown"),
                    this, SLOT(onPrepareForShutdown(bool)));
    if (!connected_)
        qCInfo(lcTermination, "Not watching for shutdown: no connection to logind");
}

void LogindShutdownSource::onPrepareForShutdown(bool starting) {
    if (starting)
        emit shutdownStarting();
}

} // namespace kivo
