#pragma once

#include "settings/DefaultsStore.h"

#include <QString>

#include <functional>

namespace kivo {

// The defaults database persisted as `<directory>/defaults.json`.
//
// Each mutation writes the whole document to `defaults.json.tmp`, fsyncs it, renames it over
// `defaults.json` and fsyncs the directory, so a crash leaves either the old or the new document, never
// a torn one. A document that cannot be read as a JSON object is renamed to
// `defaults.json.unreadable-<UTC yyyyMMdd-HHmmss>[-n]` and logged, and the store starts empty; if it
// cannot be moved aside, the store refuses every write rather than overwrite it.
class FileDefaultsStore : public DefaultsStore {
public:
    explicit FileDefaultsStore(QString directory);

    // `$XDG_CONFIG_HOME/kivo` (`~/.config/kivo` when the variable is unset or not absolute).
    static QString standardDirectory();
    static QString fileName() { return QStringLiteral("defaults.json"); }

    QString directory() const { return directory_; }
    QString filePath() const;

    // Where an unreadable document was moved at load (empty if none was).
    QString movedAsidePath() const { return movedAsidePath_; }
    // Empty while writes are possible; otherwise why they are refused.
    QString blockedReason() const { return blockedReason_; }

    // Returning true from `interruption` abandons a write after the temporary file is complete and
    // before the rename, leaving the files as a crash there would. The write then reports failure.
    void setInterruptionBeforeRenameForTesting(std::function<bool()> interruption) {
        interruption_ = std::move(interruption);
    }

protected:
    DefaultsWriteResult persist(const nlohmann::json& document) override;
    DefaultsWriteResult removeKeptAsideDocuments() override;

private:
    void load();
    void moveAside(const QString& why);

    QString directory_;
    QString movedAsidePath_;
    QString blockedReason_;
    std::function<bool()> interruption_;
};

} // namespace kivo
