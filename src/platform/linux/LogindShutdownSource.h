#pragma once

#include <QDBusConnection>
#include <QObject>

namespace kivo {

// logind's PrepareForShutdown(true) on the system bus: the machine is about to power off or reboot.
class LogindShutdownSource : public QObject {
    Q_OBJECT
public:
    explicit LogindShutdownSource(QObject* parent = nullptr);
    LogindShutdownSource(QDBusConnection bus, QObject* parent = nullptr);

    bool isConnected() const { return connected_; }

signals:
    void shutdownStarting();

private slots:
    void onPrepareForShutdown(bool starting);

private:
    bool connected_ = false;
};

} // namespace kivo
