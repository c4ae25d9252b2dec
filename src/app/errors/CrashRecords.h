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

    // Reports every record of `directory` through `reporter` and removes each once the reporter says it
    // was delivered (sent, or written to the log where no endpoint is built in): one that could not be
    // sent stays for the next start. A record whose writing was cut short is reported as incomplete when
    // it says which signal ended the run, unless the process writing it still runs; an empty or
    // unreadable one is removed after a warning. Returns how many were handed to the reporter.
    static int reportAndRemove(const QString& directory, ErrorReporter& reporter);

    // A record's text, its frames named from the load map it carries (see CrashSymbols).
    static std::optional<CrashRecord> parse(const QByteArray& text);
};

} // namespace kivo
