#include "platform/linux/LogindWakeSource.h"

#include "core/Log.h"

#include <QDBusConnection>

namespace kivo {

LogindWakeSource::LogindWakeSource(QObject* parent)
    : LogindWakeSource(QDBusConnection::systemBus(), parent) {}

LogindWakeSource::LogindWakeSource(QDBusConnection bus, QObject* parent) : QObject(parent) {
    connected_ =
        bus.isConnected() &&
        bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                    SLOT(onPrepareForSleep(bool)));
    if (!connected_) {
        qCWarning(lcBrightness, "Cannot watch for system wake: no connection to logind");
    }
}

void LogindWakeSource::setWakeHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
}

void LogindWakeSource::onPrepareForSleep(bool sleeping) {
    if (!sleeping && handler_) {
        handler_();
    }
}

} // namespace kivo
