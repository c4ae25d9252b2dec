#include "support/TestSupport.h"

#include <QFile>
#include <QLoggingCategory>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace kivo::test {
namespace {
std::mutex gLogMutex;
std::vector<std::string>* gLines = nullptr;

const char* levelName(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "?";
}
} // namespace

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > timeout.count()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << path.toStdString();
}

void processEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

LogCapture::LogCapture(Levels levels) {
    QLoggingCategory::setFilterRules(
        levels == Levels::withDebug ? QStringLiteral("app.kivo.Kivo.*.debug=true") : QString());
    std::lock_guard lock(gLogMutex);
    gLines = new std::vector<std::string>();
    previous_ = qInstallMessageHandler(&LogCapture::handler);
}

LogCapture::~LogCapture() {
    qInstallMessageHandler(previous_);
    QLoggingCategory::setFilterRules(QString());
    std::lock_guard lock(gLogMutex);
    delete gLines;
    gLines = nullptr;
}

void LogCapture::handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    std::lock_guard lock(gLogMutex);
    if (gLines) {
        gLines->push_back(std::string(context.category ? context.category : "default") + "|" +
                          levelName(type) + "|" + message.toStdString());
    }
}

std::vector<std::string> LogCapture::lines() const {
    std::lock_guard lock(gLogMutex);
    return gLines ? *gLines : std::vector<std::string>{};
}

bool LogCapture::contains(const std::string& fragment) const {
    return count(fragment) > 0;
}

int LogCapture::count(const std::string& fragment) const {
    std::lock_guard lock(gLogMutex);
    int n = 0;
    if (gLines) {
        for (const auto& l : *gLines) {
            n += l.find(fragment) != std::string::npos ? 1 : 0;
        }
    }
    return n;
}

void LogCapture::clear() {
    std::lock_guard lock(gLogMutex);
    if (gLines) {
        gLines->clear();
    }
}

SmallTmpfs::SmallTmpfs(qint64 bytes) {
    if (::geteuid() != 0) {
        error_ = "mounting a tmpfs needs root";
        return;
    }
    const auto options = "size=" + std::to_string(bytes) + ",mode=0700";
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.c_str()) != 0) {
        error_ = std::string("this machine does not allow mounting a tmpfs: ") + std::strerror(errno);
        return;
    }
    mounted_ = true;
}

SmallTmpfs::~SmallTmpfs() {
    if (mounted_) {
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
}

TemporaryHome::TemporaryHome() : home_(root_.path() + QStringLiteral("/home")) {
    QDir().mkpath(home_);
    qputenv("HOME", home_.toUtf8());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
}

TemporaryHome::~TemporaryHome() {
    for (const auto& [name, saved] :
         {std::pair{"HOME", savedHome_}, std::pair{"XDG_DATA_HOME", savedDataHome_}}) {
        if (saved.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, saved);
        }
    }
}

} // namespace kivo::test
