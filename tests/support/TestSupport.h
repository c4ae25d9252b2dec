#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace kivo::test {

// Processes queued calls until `condition` holds or `timeout` passes; returns whether it held.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Delivers queued calls that are already posted.
void processEvents();

// Whole-file helpers for tests that look at what was written to disk. readFile gives an empty array
// when the file cannot be read; writeFile fails the current test when it cannot write.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// Captures log lines while alive: "category|level|message". By default Kivo's debug lines are turned on
// for the capture; `defaultLevels` keeps what the program prints when the user turned nothing on.
class LogCapture {
public:
    enum class Levels { withDebug, defaultLevels };
    explicit LogCapture(Levels levels = Levels::withDebug);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const;
    bool contains(const std::string& fragment) const;
    int count(const std::string& fragment) const;
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message);
    QtMessageHandler previous_ = nullptr;
};

// A tmpfs of `bytes` mounted on a fresh temporary directory while alive, for tests of a full disk.
// Mounting needs root and a sandbox that allows it: check mounted(), and skip with error() when false.
class SmallTmpfs {
public:
    explicit SmallTmpfs(qint64 bytes);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }
    std::string error() const { return error_; }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    std::string error_;
};

// HOME and XDG_DATA_HOME (`home()`/.local/share, not made yet) inside a fresh temporary folder while
// alive; the previous values come back afterwards.
class TemporaryHome {
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    QString home() const { return home_; }
    QString dataHome() const { return home_ + QStringLiteral("/.local/share"); }

private:
    QTemporaryDir root_;
    QString home_;
    QByteArray savedHome_ = qgetenv("HOME");
    QByteArray savedDataHome_ = qgetenv("XDG_DATA_HOME");
};

} // namespace kivo::test
