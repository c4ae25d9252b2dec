#pragma once

#include "app/errors/CrashRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kivo {

class ErrorReporter;

// The crash records in Kivo's state folder, written by the fatal-signal handler of an earlier run.
class CrashRecords {
public:
    // `$XDG_STATE_HOME/kivo`, or `~/.local/state/kivo`.
    static QString standardDirectory();

    // Reports every record of `directory` through `reporter` and removes it, unreadable ones too (after
    // a warning): each is reported once. Returns how many were reported.
    static int reportAndRemove(const QString& directory, ErrorReporter& reporter);

    static std::optional<CrashRecord> parse(const QByteArray& text);
};

} // namespace kivo
