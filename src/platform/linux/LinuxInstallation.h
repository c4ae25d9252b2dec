#pragma once

#include "app/ports/Installation.h"

namespace kivo {

// The running program's installation. A copy installed under the user's home can go to the trash: every
// file Kivo's install rules put under the program's prefix (`<prefix>/bin/kivo`). One installed for the
// whole system belongs to a package and cannot.
class LinuxInstallation : public Installation {
public:
    // `programPath` is the running executable; `dataHome` the user's XDG data directory.
    LinuxInstallation(QString programPath, QString dataHome);
    static LinuxInstallation forRunningProgram();

    QStringList userOwnedFiles() const override;
    QStringList userOwnedFolders() const override;
    QString systemOwnedReason() const override;

    // The prefix the program was installed under; empty when it runs from elsewhere (a build tree).
    QString prefix() const;
    // Every path Kivo's install rules put under a prefix, relative to it, as the build recorded them.
    static QStringList installedFiles();

private:
    QString programPath_;
    QString dataHome_;
};

} // namespace kivo
