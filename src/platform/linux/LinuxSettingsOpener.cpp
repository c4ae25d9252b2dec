#include "platform/linux/LinuxSettingsOpener.h"

#include <QProcess>

namespace kivo {

LinuxSettingsOpener::LinuxSettingsOpener(Launcher launcher, BusSwitch busSwitch)
    : launcher_(std::move(launcher)), busSwitch_(std::move(busSwitch)) {
    if (!launcher_) {
        launcher_ = [](const QString& program, const QStringList& arguments) {
            return QProcess::startDetached(program, arguments);
        };
    }
}

QStringList LinuxSettingsOpener::settingsCommand(const QString& currentDesktop) {
    const QStringList names = currentDesktop.toLower().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (names.contains(QStringLiteral("gnome")) || names.contains(QStringLiteral("unity"))) {
        return {QStringLiteral("gnome-control-center"), QStringLiteral("universal-access")};
    }
    if (names.contains(QStringLiteral("kde"))) {
        return {QStringLiteral("systemsettings"), QStringLiteral("kcm_access")};
    }
    return {};
}

bool LinuxSettingsOpener::openAccessibilitySettings() {
    busSwitch_();
    const QStringList command = settingsCommand(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    if (command.isEmpty()) {
        return false;
    }
    return launcher_(command.front(), command.mid(1));
}

bool LinuxSettingsOpener::openAutomationSettings() {
    return openAccessibilitySettings();
}

} // namespace kivo
