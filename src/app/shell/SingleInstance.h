#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

namespace kivo {

// One Kivo per user. The first start holds a lock file and listens on a local socket beside it; a later
// start finds the lock taken, asks the first (through the socket) to show its window, and ends. A lock
// left by a killed process is stale (its process is gone) and is taken over. The folder and the one
// holding it must belong to the user: one made by someone else (a runtime directory inherited through
// `su`, a planted folder in the temporary directory) fails at once with a reason.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role { primary, handedOver, failed };

    // `directory` is where the lock and the socket live (the user's runtime directory).
    explicit SingleInstance(QString directory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Becomes the running instance, or hands over to it. Waits at most `patience` for a starting first
    // instance to begin listening.
    Role start(std::chrono::milliseconds patience = std::chrono::milliseconds(5000));

    // `$XDG_RUNTIME_DIR/kivo`, or a folder of the temporary directory private to the user.
    static QString defaultDirectory();
    QString socketPath() const;
    // Why `start` failed, naming the folder; empty after a success.
    QString errorString() const { return error_; }

signals:
    // Another start asked for the window.
    void reopenRequested();

private:
    bool prepareDirectory();
    Role fail(const QString& reason);
    bool listen();
    bool tellRunningInstance();

    QString directory_;
    QString error_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace kivo
