#include "app/errors/CrashRecords.h"
#include "app/errors/ErrorReporter.h"
#include "core/ManualClock.h"

#include "app/errors/RecordingEnvelopeTransport.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

struct Crashed {
    bool ended = false;
    qint64 milliseconds = 0;
    QProcess::ExitStatus status = QProcess::NormalExit;
    int exitCode = 0;
    QByteArray output;
};

Crashed crashOnPurpose(const QString& folder, const char* kind) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Without the allocator's per-thread caches every allocation takes the heap's lock: one made by the
    // handler of a crash that holds it would never return.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("GLIBC_TUNABLES"), QStringLiteral("glibc.malloc.tcache_count=0"));
    child.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    child.start(QStringLiteral(KIVO_CRASH_ON_PURPOSE), {folder, QString::fromUtf8(kind)});
    Crashed crashed;
    crashed.ended = child.waitForFinished(15000);
    crashed.milliseconds = clock.elapsed();
    if (!crashed.ended) {
        child.kill();
        child.waitForFinished();
    }
    crashed.status = child.exitStatus();
    crashed.exitCode = child.exitCode();
    crashed.output = child.readAllStandardOutput();
    return crashed;
}

// A folder path of `length` bytes below `root`, in components a file system accepts.
QString folderOfLength(const QString& root, qsizetype length) {
    QString path = root;
    while (path.size() < length) {
        const qsizetype component = std::min<qsizetype>(200, length - path.size() - 1);
        path += QLatin1Char('/') + QString(std::max<qsizetype>(component, 1), QLatin1Char('k'));
    }
    return path;
}

TEST(CrashRecorder, AFatalEndLeavesARecordThatTheNextStartReportsOnceAndRemoves) {
    const struct {
        const char* kind;
        const char* signal;
        const char* reason;   // in the exception's value
        const char* function; // a frame of the recorded stack
        const char* thread;   // the crashed thread's name, when it has one of Kivo's
        bool allocates;       // before the handler: the exception that std::terminate ends on
    } rows[] = {
        {"segv", "SIGSEGV", "Fatal signal 11", "crashOnPurpose", nullptr, false},
        {"bus", "SIGBUS", "Fatal signal 7", "crashOnPurpose", nullptr, false},
        {"fpe", "SIGFPE", "Fatal signal 8", "crashOnPurpose", nullptr, false},
        {"ill", "SIGILL", "Fatal signal 4", "crashOnPurpose", nullptr, false},
        {"abort", "SIGABRT", "Fatal signal 6", "crashOnPurpose", nullptr, false},
        {"terminate", "SIGABRT", "std::terminate: uncaught std::runtime_error: on purpose", "crashOnPurpose",
         nullptr, true},
        // The allocator aborts, and the handler runs, while the crashed thread holds the heap's lock.
        {"double-free", "SIGABRT", "Fatal signal 6", "crashOnPurpose", nullptr, false},
        {"thread-overflow", "SIGSEGV", "Fatal signal 11", "overflow", "overflowing", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        // The sanitizer's allocator finds a double free itself, and reports it without a signal.
        if (kAddressSanitizer && !std::strcmp(row.kind, "double-free")) {
            continue;
        }
        QTemporaryDir state;
        const QString folder = state.path() + "/kivo";
        const Crashed crashed = crashOnPurpose(folder, row.kind);
        ASSERT_TRUE(crashed.ended) << "the crashed process ends";
        EXPECT_LT(crashed.milliseconds, 10000);
        // The sanitizer's own handler, put back after the record, ends the process with its exit status.
        if (kAddressSanitizer) {
            EXPECT_TRUE(crashed.status == QProcess::CrashExit || crashed.exitCode != 0);
        } else {
            EXPECT_EQ(crashed.status, QProcess::CrashExit) << "dies as it would have";
            if (!row.allocates) {
                EXPECT_EQ(crashed.output.trimmed(), "allocations 0") << "the handler does not allocate";
            }
        }

        std::vector<test::RecordingEnvelopeTransport::Sent> sent;
        ManualClock clock;
        ErrorReporter reporter(clock, std::make_unique<test::RecordingEnvelopeTransport>(sent));
        reporter.start({});
        EXPECT_EQ(CrashRecords::reportAndRemove(folder, reporter), 1);
        ASSERT_EQ(sent.size(), 1u);
        const ErrorEvent& event = sent[0].event;
        EXPECT_EQ(event.level, "fatal");
        ASSERT_TRUE(event.exceptions && event.exceptions->size() == 1);
        EXPECT_EQ(event.exceptions->front().type, row.signal);
        EXPECT_EQ(event.exceptions->front().value, row.reason);
        if (row.thread) {
            EXPECT_EQ(event.contexts.value("crash").toObject().value("thread_name").toString(), row.thread);
        }
        ASSERT_TRUE(event.threads && event.threads->front().stacktrace);
        const auto& frames = *event.threads->front().stacktrace;
        EXPECT_TRUE(std::any_of(frames.begin(), frames.end(), [&](const ErrorEvent::Frame& f) {
            return f.function && f.function->contains(row.function);
        })) << "the stack reaches the crashing function, by name";
        EXPECT_TRUE(std::none_of(frames.begin(), frames.end(), [](const ErrorEvent::Frame& f) {
            return f.function && f.function->contains("__libunwind_");
        })) << "exceptions keep the compiler's unwinder";
        EXPECT_TRUE(QDir(folder).isEmpty()) << "each record is reported once";
        EXPECT_EQ(CrashRecords::reportAndRemove(folder, reporter), 0);
    }
}

TEST(CrashRecorder, ALongStateFolderGetsTheRecordUnderItsOwnNameOrIsRefused) {
    const struct {
        qsizetype length;
        bool accepted;
    } rows[] = {{762, true}, {3900, true}, {4080, false}, {5000, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.length);
        QTemporaryDir state;
        const QString folder = folderOfLength(state.path(), row.length);
        const Crashed crashed = crashOnPurpose(folder, "segv");
        ASSERT_TRUE(crashed.ended);
        QStringList written;
        for (QDirIterator it(state.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();)
            written << it.next();
        if (!row.accepted) {
            EXPECT_EQ(crashed.exitCode, 2) << "refused";
            EXPECT_TRUE(written.isEmpty());
            continue;
        }
        ASSERT_EQ(written.size(), 1) << written.join(' ').toStdString();
        const QFileInfo record(written.front());
        EXPECT_EQ(record.absolutePath(), folder);
        EXPECT_TRUE(record.fileName().startsWith("crash-") && record.fileName().endsWith(".record"));

        std::vector<test::RecordingEnvelopeTransport::Sent> sent;
        ManualClock clock;
        ErrorReporter reporter(clock, std::make_unique<test::RecordingEnvelopeTransport>(sent));
        reporter.start({});
        EXPECT_EQ(CrashRecords::reportAndRemove(folder, reporter), 1);
        EXPECT_TRUE(QDir(folder).isEmpty());
    }
}

} // namespace
} // namespace kivo
