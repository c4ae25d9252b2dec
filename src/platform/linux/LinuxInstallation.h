#pragma once

#include "app/ports/Installation.h"

namespace kivo {

// The running program's installation. A copy installed under the user's home (program, desktop entry,
// icon) can go to the trash; one installed for the whole system belongs to a package and cannot.
class LinuxInstallation : public Installation {
public:
    // `programPath` is the running executable; `dataHome` the user's XDG data directory.
    LinuxInstallation(QString programPath, QString dataHome);
    static LinuxInstallation forRunningProgram();

    QStringList userOwnedFiles() const override;
    QString systemOwnedReason() const override;

    static constexpr const char* kDesktopEntryName = "app.kivo.Kivo.desktop";
    static constexpr const char* kIconName = "app.kivo.Kivo.svg";

private:
    QString programPath_;
    QString dataHome_;
};

} // namespace kivo
