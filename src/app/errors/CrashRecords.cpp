#include "app/errors/CrashRecords.h"

#include "app/errors/ErrorReporter.h"
#include "core/Log.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <cxxabi.h>

namespace kivo {
namespace {

constexpr qint64 kLargestRecord = 1 << 20;

// "_ZN4kivo3fooEv+0x1a" reads "kivo::foo()+0x1a"; anything else stays as written.
QString readableFrame(const QByteArray& frame) {
    const qsizetype plus = frame.lastIndexOf("+0x");
    const QByteArray symbol = plus > 0 ? frame.left(plus) : frame;
    int status = -1;
    char* demangled = abi::__cxa_demangle(symbol.constData(), nullptr, nullptr, &status);
    QString result = status == 0 && demangled
                         ? QString::fromUtf8(demangled) + QString::fromUtf8(frame.mid(symbol.size()))
                         : QString::fromUtf8(frame);
    std::free(demangled);
    return result;
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
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype space = line.indexOf(' ');
        const QByteArray key = line.left(space);
        const QByteArray value = space < 0 ? QByteArray() : line.mid(space + 1);
        if (key == "signal") {
            const QList<QByteArray> parts = value.split(' ');
            record.signalNumber = parts.value(0).toInt();
            record.signalName = QString::fromUtf8(parts.value(1));
        } else if (key == "reason") {
            record.reason = QString::fromUtf8(value);
        } else if (key == "thread") {
            record.threadId = value.left(value.indexOf(' ')).toLongLong();
            record.threadName = QString::fromUtf8(value.mid(value.indexOf(' ') + 1));
        } else if (key == "time") {
            record.time = value.toDouble();
        } else if (key == "frame") {
            // "0x7f00 symbol+0x10", or the address alone when the symbol is unknown.
            const qsizetype at = value.indexOf(' ');
            record.frames.push_back(at < 0 ? QString::fromUtf8(value) : readableFrame(value.mid(at + 1)));
        }
    }
    if (record.signalNumber <= 0 || record.signalName.isEmpty())
        return std::nullopt;
    return record;
}

int CrashRecords::reportAndRemove(const QString& directory, ErrorReporter& reporter) {
    QDir dir(directory);
    int reported = 0;
    // A record whose writing was cut short was never renamed: nothing to report, nothing to keep.
    for (const QString& name : dir.entryList({QStringLiteral("crash-*.partial")}, QDir::Files))
        dir.remove(name);
    for (const QString& name : dir.entryList({QStringLiteral("crash-*.record")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        std::optional<CrashRecord> record;
        if (file.open(QIODevice::ReadOnly) && file.size() <= kLargestRecord)
            record = parse(file.readAll());
        file.close();
        if (record) {
            qCWarning(lcLifecycle, "The last run ended on %s; reporting it",
                      qUtf8Printable(record->signalName));
            reporter.captureCrash(*record);
            ++reported;
        } else {
            qCWarning(lcLifecycle, "Crash record %s is unreadable; removing it", qUtf8Printable(name));
        }
        dir.remove(name);
    }
    return reported;
}

} // namespace kivo
