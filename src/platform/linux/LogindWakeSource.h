#pragma once

#include "app/brightness/SystemWakeSource.h"

#include <QDBusConnection>
#include <QObject>

namespace kivo {

// Wake from logind: PrepareForSleep(false) on the system bus is sent once the machine has resumed.
class LogindWakeSource final : public QObject, public SystemWakeSource {
    Q_OBJECT
public:
    // The system bus unless told otherwise (tests pass a private bus).
    explicit LogindWakeSource(QObject* parent = nullptr);
    LogindWakeSource(QDBusConnection bus, QObject* parent = nullptr);

    void setWakeHandler(std::function<void()> handler) override;
    // False when the system bus could not be reached; wake is then never reported.
    bool isConnected() const { return connected_; }

private slots:
    void onPrepareForSleep(bool sleeping);

private:
    std::function<void()> handler_;
    bool connected_ = false;
};

} // namespace kivo
