#pragma once

#include "app/ports/TrashPort.h"

namespace kivo {

// The freedesktop trash of the user's home ($XDG_DATA_HOME/Trash). Only a path inside the home directory
// (not the home itself) and owned by the user is moved: a system-wide install, or anything reached
// through a symbolic link, is refused rather than removed from under other users (root would otherwise
// be allowed everything). The information file records the original path percent-encoded, as file
// managers read it back when restoring.
class FreedesktopTrash : public TrashPort {
public:
    QString moveToTrash(const QString& path) override;
    QString removeEmptyFolder(const QString& path) override;

    // Why `path` may not be moved (empty when it may).
    static QString refusal(const QString& path);
};

} // namespace kivo
