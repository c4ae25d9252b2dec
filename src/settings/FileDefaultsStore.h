#pragma once

#include "settings/DefaultsStore.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace kivo {

// The defaults database persisted as `<directory>/defaults.json`.
//
// One store writes a settings directory at a time: it holds an advisory lock on
// `defaults.json.lock` from its load until it is destroyed (the lock ends with the process, so a crash
// leaves none behind). A store that cannot get the lock loads the document read-only and refuses every
// write, since writing back its copy of the whole document would drop the other store's changes.
//
// Each mutation writes the whole document to a temporary file of its own, fsyncs it, renames it over
// `defaults.json` (over the file a symbolic link there leads to, keeping the link) and fsyncs the
// directory, so a crash leaves either the old or the new document, never a torn one. Temporary files left
// by a killed writer are removed at load by the store holding the lock.
//
// Only a regular file of at most kMaximumDocumentBytes is read. A document that cannot be read as a JSON
// object, or is larger, is renamed to `defaults.json.unreadable-<UTC yyyyMMdd-HHmmss>[-n]` and logged,
// and the store starts empty; if it cannot be moved aside, the store refuses every write rather than
// overwrite it. Anything else there (a directory, a named pipe, a device, a socket) is neither opened
// for writing nor removed: the store starts empty and read-only.
class FileDefaultsStore : public DefaultsStore {
public:
    static constexpr std::int64_t kMaximumDocumentBytes = 64 * 1024 * 1024;

    explicit FileDefaultsStore(QString directory);
    ~FileDefaultsStore() override;

    // `$XDG_CONFIG_HOME/kivo` (`~/.config/kivo` when the variable is unset or not absolute).
    static QString standardDirectory();
    static QString fileName() { return QStringLiteral("defaults.json"); }
    static QString lockFileName() { return fileName() + QStringLiteral(".lock"); }

    QString directory() const { return directory_; }
    QString filePath() const;

    // Where an unreadable document was moved at load (empty if none was).
    QString movedAsidePath() const { return movedAsidePath_; }
    // Empty while writes are possible; otherwise why they are refused.
    QString blockedReason() const { return blockedReason_; }
    std::string readOnlyReason() const override { return blockedReason_.toStdString(); }

    // Returning true from `interruption` abandons a write after the temporary file is complete and
    // before the rename, leaving the files as a crash there would. The write then reports failure.
    void setInterruptionBeforeRenameForTesting(std::function<bool()> interruption) {
        interruption_ = std::move(interruption);
    }

protected:
    DefaultsWriteResult persist(const nlohmann::json& document) override;
    DefaultsWriteResult removeKeptAsideDocuments() override;

private:
    // Empty when the lock is held, or when another process holds it (the store is then read-only);
    // otherwise why it could not be taken (a missing directory that cannot be made, say).
    std::string acquireLock();
    void load();
    void parse(const QByteArray& bytes);
    void refuseUnreadable(const QString& why);
    void moveAside(const QString& why);
    void removeLeftoverTemporaries();

    QString directory_;
    QString movedAsidePath_;
    QString blockedReason_;
    std::function<bool()> interruption_;
    int lockFd_ = -1;
};

} // namespace kivo
