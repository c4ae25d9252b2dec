#pragma once

#include "app/ports/LoginItemPort.h"

#include <QString>

namespace kivo {

// The login item as an XDG autostart entry: `<autostart directory>/app.kivo.Kivo.desktop`, started by
// the session at login. The entry counts as on while it exists and says neither `Hidden=true` nor
// `X-GNOME-Autostart-enabled=false` (both are how desktop settings switch an entry off).
class XdgAutostartLoginItem : public LoginItemPort {
public:
    XdgAutostartLoginItem(QString autostartDirectory, QString programPath);

    // `$XDG_CONFIG_HOME/autostart` (`~/.config/autostart` when unset or not absolute).
    static QString standardDirectory();
    static QString entryFileName();
    // The program path as one argument of an `Exec` value: quoted, escaped and with "%" doubled.
    // Empty when the path cannot be written there (a control character).
    static QString execValue(const QString& programPath);

    QString entryPath() const;

    LoginItemStatus status() const override;
    QString registerItem() override;
    QString unregisterItem() override;

private:
    QString directory_;
    QString programPath_;
};

} // namespace kivo
