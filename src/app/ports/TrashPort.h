#pragma once

#include <QString>

namespace kivo {

// Moving one of the user's files or folders to the desktop's trash, so it can still be restored.
class TrashPort {
public:
    virtual ~TrashPort() = default;

    // Returns an empty string on success, else why nothing was moved.
    virtual QString moveToTrash(const QString& path) = 0;
    // Removes one of the user's folders only if it is empty: there is nothing in it to restore. Returns an
    // empty string once it is gone, else why it stays.
    virtual QString removeEmptyFolder(const QString& path) = 0;
};

} // namespace kivo
