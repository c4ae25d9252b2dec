#pragma once

#include <QObject>

class QSessionManager;

namespace kivo {

// The desktop's session manager as Kivo sees it. Saving the session, which is also the first step of a
// log-out the user may still cancel, changes nothing; a restored session never starts Kivo (its
// autostart entry does, and a second one would only hand over); only the session's real end ends it.
class DesktopSession : public QObject {
    Q_OBJECT
public:
    explicit DesktopSession(QObject* parent = nullptr);
    ~DesktopSession() override;

signals:
    // The session manager told Kivo to end: the log-out or shutdown goes ahead.
    void sessionEnding();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void neverRestart(QSessionManager& manager);
};

} // namespace kivo
