#include "platform/linux/LinuxInstallation.h"

#include "platform/linux/FreedesktopTrash.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kivo {

LinuxInstallation::LinuxInstallation(QString programPath, QString dataHome)
    : programPath_(std::move(programPath)), dataHome_(std::move(dataHome)) {}

LinuxInstallation LinuxInstallation::forRunningProgram() {
    return LinuxInstallation(QCoreApplication::applicationFilePath(),
                             QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QStringList LinuxInstallation::userOwnedFiles() const {
    if (!systemOwnedReason().isEmpty())
        return {};
    QStringList files{programPath_};
    const QString entry = dataHome_ + QStringLiteral("/applications/") + QLatin1String(kDesktopEntryName);
    const QString icon =
        dataHome_ + QStringLiteral("/icons/hicolor/scalable/apps/") + QLatin1String(kIconName);
    for (const auto& path : {entry, icon}) {
        if (QFileInfo::exists(path) && FreedesktopTrash::refusal(path).isEmpty())
            files << path;
    }
    return files;
}

QString LinuxInstallation::systemOwnedReason() const {
    // The trash guard already refuses anything outside the home or owned by someone else.
    return FreedesktopTrash::refusal(programPath_);
}

} // namespace kivo
