#pragma once

#include "platform/linux/LinuxInputMethod.h"

#include <QDBusConnection>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace kivo {

class InputMethodRecord;

// IBus, on its own bus (the browser's IBUS_ADDRESS, or the address file its daemon writes for the
// browser's display). While Kivo types, the global engine is a keyboard engine of the current layout, as
// `ibus engine` would set it; then the user's engine is selected again. A re-selected engine starts in
// its launch mode, so the user's mode is read from the engine's properties before the switch (the engine
// announces them when told it has the focus) and set again afterwards through the same properties (a
// radio item chosen, a toggle flipped, a button pressed until its label is back), then read back.
class IBusInputMethod final : public InputMethodFramework {
public:
    explicit IBusInputMethod(std::shared_ptr<InputMethodRecord> record);
    ~IBusInputMethod() override;

    QString name() const override { return QStringLiteral("ibus"); }
    PlainTyping typePlain(int processId, WindowHandle window) override;
    bool restore() override;
    void recover(const QJsonObject& record) override;

    // The address of the IBus daemon that serves a process started with `environment`: its IBUS_ADDRESS,
    // or what the address file for its display names while the daemon written there runs. None when no
    // daemon serves it. `machineId` as D-Bus keeps it.
    static std::optional<QString> busAddress(const std::map<std::string, std::string>& environment,
                                             const QString& machineId);
    // The program name of the daemon the address file for `environment`'s display names, empty without
    // one: Fcitx 5's IBus front end writes that file too.
    static std::string daemonProgram(const std::map<std::string, std::string>& environment);

private:
    std::optional<QDBusConnection> connect(const QString& address);
    bool giveBack(QDBusConnection& bus, const QJsonObject& record);

    std::shared_ptr<InputMethodRecord> record_;
    std::mutex mutex_;
    QString connectionName_;
    QString connectedAddress_;
    std::optional<QJsonObject> switched_;
};

} // namespace kivo
