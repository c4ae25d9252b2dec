#pragma once

#include "app/ports/LoginItemPort.h"

#include <QObject>

namespace kivo {

// Whether Kivo starts at login. `isEnabled` always shows what the system reports after a change, not
// what was asked for, so a toggle bound to it springs back when the change did not take.
class LoginItemService : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isEnabled READ isEnabled NOTIFY isEnabledChanged)

public:
    explicit LoginItemService(LoginItemPort& port, QObject* parent = nullptr);

    bool isEnabled() const { return isEnabled_; }
    void setEnabled(bool enabled);

signals:
    void isEnabledChanged(bool isEnabled);

private:
    void refresh();

    LoginItemPort& port_;
    bool isEnabled_ = false;
};

} // namespace kivo
