#pragma once

#include <QString>
#include <QStringList>

namespace kivo {

// Where the running program is installed, as uninstalling needs it.
class Installation {
public:
    virtual ~Installation() = default;
    // The files of the user's own installation that uninstalling moves to the trash: everything Kivo's
    // install put beside the program that is still there. Empty when the program belongs to a
    // system-wide installation.
    virtual QStringList userOwnedFiles() const = 0;
    // The folders that installation made for Kivo's files alone, removed once the files are gone and
    // nothing else is left in them.
    virtual QStringList userOwnedFolders() const = 0;
    // Why the program cannot be moved to the trash (a package of the system), for the log; empty when it can.
    virtual QString systemOwnedReason() const = 0;
};

} // namespace kivo
