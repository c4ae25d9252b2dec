#include "app/errors/CrashRecords.h"
#include "app/errors/ErrorReporter.h"
#include "core/ManualClock.h"

#include "app/errors/RecordingEnvelopeTransport.h"

#include <QDir>
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

TEST(CrashRecorder, AFatalEndLeavesARecordThatTheNextStartReportsOnceAndRemoves) {
    const struct {
        const char* kind;
        const char* signal;
        const char* reason; // in the exception's value
    } rows[] = {
        {"segv", "SIGSEGV", "Fatal signal 11"},
        {"bus", "SIGBUS", "Fatal signal 7"},
        {"fpe", "SIGFPE", "Fatal signal 8"},
        {"ill", "SIGILL", "Fatal signal 4"},
        {"abort", "SIGABRT", "Fatal signal 6"},
        {"terminate", "SIGABRT", "std::terminate: uncaught std::runtime_error: on purpose"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        QTemporaryDir state;
        const QString folder = state.path() + "/kivo";
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral(KIVO_CRASH_ON_PURPOSE), {folder, row.kind});
        ASSERT_TRUE(child.waitForFinished(20000));
        // The sanitizer's own handler, put back after the record, ends the process with its exit status.
        if (kAddressSanitizer)
            EXPECT_TRUE(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0);
        else
            EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << "dies as it would have";

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
        ASSERT_TRUE(event.threads && event.threads->front().stacktrace);
        const auto& frames = *event.threads->front().stacktrace;
        EXPECT_TRUE(std::any_of(frames.begin(), frames.end(), [](const ErrorEvent::Frame& f) {
            return f.function && f.function->contains("crashOnPurpose");
        })) << "the stack reaches the crashing function";
        EXPECT_TRUE(std::none_of(frames.begin(), frames.end(), [](const ErrorEvent::Frame& f) {
            return f.function && f.function->contains("__libunwind_");
        })) << "exceptions keep the compiler's unwinder";
        EXPECT_TRUE(QDir(folder).isEmpty()) << "each record is reported once";
        EXPECT_EQ(CrashRecords::reportAndRemove(folder, reporter), 0);
    }
}

} // namespace
} // namespace kivo
