#include "app/errors/CrashRecords.h"
#include "app/errors/ErrorReporter.h"
#include "core/ManualClock.h"

#include "app/errors/RecordingEnvelopeTransport.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo {
namespace {

[[gnu::noinline]] int namedOnPurpose(int value) {
    return value * 3 + 1;
}
int (*volatile named)(int) = namedOnPurpose;

// This process's load map, with another inode on the line that maps `address`.
QByteArray loadMapWithInode(quintptr address, const QByteArray& inode) {
    QByteArray map = test::readFile(QStringLiteral("/proc/self/maps"));
    QList<QByteArray> lines = map.split('\n');
    for (QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        const qsizetype dash = fields.value(0).indexOf('-');
        if (fields.size() < 6 || dash < 0)
            continue;
        const quintptr start = fields[0].left(dash).toULongLong(nullptr, 16);
        const quintptr end = fields[0].mid(dash + 1).toULongLong(nullptr, 16);
        if (address >= start && address < end)
            line = fields.mid(0, 4).join(' ') + ' ' + inode + ' ' + fields.mid(5).join(' ');
    }
    return lines.join('\n');
}

TEST(CrashRecords, FramesAreNamedFromTheModuleThatWasMappedAndOnlyFromIt) {
    const auto address = reinterpret_cast<quintptr>(named) + 4;
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const struct {
        const char* name;
        QByteArray loadMap;
        QString frame; // what the innermost frame reads, up to its offset
    } rows[] = {
        {"the file that was mapped", test::readFile(QStringLiteral("/proc/self/maps")),
         QStringLiteral("kivo::(anonymous namespace)::namedOnPurpose(int)+0x")},
        {"a file put in its place since", loadMapWithInode(address, "1"), program + QStringLiteral("+0x")},
        {"no load map", QByteArray(), QStringLiteral("0x%1").arg(address, 0, 16)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto record = CrashRecords::parse("signal 11 SIGSEGV\nframe 0x" +
                                                QByteArray::number(address, 16) + "\nmaps\n" + row.loadMap);
        ASSERT_TRUE(record && record->frames.size() == 1);
        EXPECT_TRUE(record->frames.front().startsWith(row.frame)) << record->frames.front().toStdString();
    }
}

TEST(CrashRecords, ARecordCutShortIsReportedAsIncompleteAndOnlyAnEmptyOrUnreadableOneIsRemovedUnreported) {
    // 2147483647 is above any process number the system hands out: the writer is gone.
    const QByteArray living = QByteArray::number(QCoreApplication::applicationPid());
    const struct {
        const char* name;
        QByteArray file;
        QByteArray text;
        bool reported;
        bool kept; // after a delivered report
    } rows[] = {
        {"cut short after the frames", "crash-1-2147483647-5.partial",
         "signal 11 SIGSEGV\nthread 5 worker\nframe 0x10\n", true, false},
        {"cut short after the signal", "crash-1-2147483647-5.partial", "signal 6 SIGABRT\nthr", true, false},
        {"empty", "crash-1-2147483647-5.partial", "", false, false},
        {"garbage", "crash-1-2147483647-5.partial",
         "\x7f"
         "ELF\x02\x01\x01",
         false, false},
        {"still being written", "crash-1-" + living + "-5.partial", "signal 11 SIGSEGV\n", false, true},
        {"whole but unreadable", "crash-1-2147483647-5.record", "frame 0x10\n", false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir folder;
        test::writeFile(folder.filePath(QString::fromUtf8(row.file)), row.text);
        std::vector<test::RecordingEnvelopeTransport::Sent> sent;
        ManualClock clock;
        ErrorReporter reporter(clock, std::make_unique<test::RecordingEnvelopeTransport>(sent));
        reporter.start({});
        test::LogCapture log;
        EXPECT_EQ(CrashRecords::reportAndRemove(folder.path(), reporter), row.reported ? 1 : 0);
        ASSERT_EQ(sent.size(), row.reported ? 1u : 0u);
        if (row.reported) {
            const QJsonObject crash = sent[0].event.contexts.value("crash").toObject();
            EXPECT_TRUE(crash.value("incomplete").toBool());
            EXPECT_EQ(sent[0].event.exceptions->front().value,
                      QStringLiteral("Fatal signal %1").arg(crash.value("signal").toInt()));
        } else if (!row.kept) {
            EXPECT_TRUE(log.contains("is empty or unreadable; removing it"));
        }
        EXPECT_EQ(QDir(folder.path()).isEmpty(), !row.kept);
    }
}

} // namespace
} // namespace kivo
