#include "app/errors/CrashRecords.h"

#include "app/errors/CrashSymbols.h"
#include "app/errors/ErrorReporter.h"
#include "core/Log.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cxxabi.h>

namespace kivo {
namespace {

// Read up to this much of a record: the signal, the thread and the frames come first, the load map last.
constexpr qint64 kLargestRecord = 8 << 20;

// A mangled name ("_ZN4kivo3fooEv", or a type's "St13runtime_error") reads as the source names it;
// anything else stays as written.
QString demangled(const QByteArray& name) {
    int status = -1;
    char* readable = abi::__cxa_demangle(name.constData(), nullptr, nullptr, &status);
    QString result = status == 0 && readable ? QString::fromUtf8(readable) : QString::fromUtf8(name);
    std::free(readable);
    return result;
}

// "_ZN4kivo3fooEv+0x1a" reads "kivo::foo()+0x1a"; a C name stays as it is, even one that reads as a
// mangled type ("f").
QString readableFrame(const QString& frame) {
    const qsizetype plus = frame.lastIndexOf(QStringLiteral("+0x"));
    const QString symbol = plus > 0 ? frame.left(plus) : frame;
    if (!symbol.startsWith(QStringLiteral("_Z"))) {
        return frame;
    }
    return demangled(symbol.toUtf8()) + frame.mid(symbol.size());
}

// A partial record whose writer is still alive is being written right now (a second start that crashed).
bool stillBeingWritten(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^crash-\\d+-(\\d+)-\\d+\\.partial$"));
    const auto match = pattern.match(name);
    const pid_t process = match.hasMatch() ? match.captured(1).toInt() : 0;
    return process > 0 && (::kill(process, 0) == 0 || errno == EPERM);
}

} // namespace

QString CrashRecords::standardDirectory() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/kivo");
}

std::optional<CrashRecord> CrashRecords::parse(const QByteArray& text) {
    CrashRecord record;
    std::vector<quint64> addresses;
    QByteArray exceptionType;
    QByteArray exceptionMessage;
    bool terminated = false;
    const qsizetype maps = text.startsWith("maps\n") ? 0 : text.indexOf("\nmaps\n");
    const QByteArray head = maps < 0 ? text : text.left(maps);
    for (const QByteArray& line : head.split('\n')) {
        const qsizetype space = line.indexOf(' ');
        const QByteArray key = space < 0 ? line : line.left(space);
        const QByteArray value = space < 0 ? QByteArray() : line.mid(space + 1);
        if (key == "signal") {
            const QList<QByteArray> parts = value.split(' ');
            record.signalNumber = parts.value(0).toInt();
            record.signalName = QString::fromUtf8(parts.value(1));
        } else if (key == "reason") {
            record.reason = QString::fromUtf8(value);
        } else if (key == "terminate") {
            terminated = true;
        } else if (key == "exception") {
            exceptionType = value.startsWith('*') ? value.mid(1) : value;
        } else if (key == "message") {
            exceptionMessage = value;
        } else if (key == "thread") {
            record.threadId = value.left(value.indexOf(' ')).toLongLong();
            record.threadName = QString::fromUtf8(value.mid(value.indexOf(' ') + 1));
        } else if (key == "time") {
            record.time = value.toDouble();
        } else if (key == "frame") {
            // The raw address; a record of an earlier version names the symbol after it.
            const qsizetype at = value.indexOf(' ');
            if (at >= 0) {
                record.frames.push_back(readableFrame(QString::fromUtf8(value.mid(at + 1))));
            } else {
                bool ok = false;
                const quint64 address = value.toULongLong(&ok, 16);
                if (ok) {
                    addresses.push_back(address);
                }
            }
        }
    }
    if (record.signalNumber <= 0 || record.signalName.isEmpty())
        return std::nullopt;
    if (terminated) {
        record.reason = QStringLiteral("std::terminate");
        if (!exceptionType.isEmpty()) {
            record.reason += QStringLiteral(": uncaught ") + demangled(exceptionType);
        }
        if (!exceptionMessage.isEmpty()) {
            record.reason += QStringLiteral(": ") + QString::fromUtf8(exceptionMessage);
        }
    }
    CrashSymbols symbols(maps < 0 ? QByteArray() : text.mid(maps + 5));
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        record.frames.push_back(readableFrame(symbols.name(addresses[i], /*returnAddress=*/i > 0)));
    }
    return record;
}

int CrashRecords::reportAndRemove(const QString& directory, ErrorReporter& reporter) {
    QDir dir(directory);
    int reported = 0;
    const QStringList names = dir.entryList(
        {QStringLiteral("crash-*.record"), QStringLiteral("crash-*.partial")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const bool complete = name.endsWith(QStringLiteral(".record"));
        if (!complete && stillBeingWritten(name)) {
            continue;
        }
        QFile file(dir.filePath(name));
        std::optional<CrashRecord> record;
        if (file.open(QIODevice::ReadOnly)) {
            record = parse(file.read(kLargestRecord));
        }
        file.close();
        if (!record) {
            qCWarning(lcLifecycle, "Crash record %s is empty or unreadable; removing it",
                      qUtf8Printable(name));
            dir.remove(name);
            continue;
        }
        record->complete = complete;
        qCWarning(lcLifecycle,
                  complete ? "The last run ended on %s; reporting it"
                           : "The last run ended on %s; reporting what its incomplete record holds",
                  qUtf8Printable(record->signalName));
        reporter.captureCrash(*record, [path = file.fileName(), name](bool delivered) {
            if (delivered) {
                QFile::remove(path);
            } else {
                qCWarning(lcLifecycle, "Crash record %s was not delivered; it is kept for the next start",
                          qUtf8Printable(name));
            }
        });
        ++reported;
    }
    return reported;
}

} // namespace kivo
