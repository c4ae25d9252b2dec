#include "platform/linux/DesktopSession.h"

#include "core/Log.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>

namespace kivo {

DesktopSession::DesktopSession(QObject* parent) : QObject(parent) {
    connect(qApp, &QGuiApplication::commitDataRequest, this, [](QSessionManager& manager) {
        qCInfo(lcTermination, "Session manager asked to save the session; Kivo keeps running");
        neverRestart(manager);
    });
    connect(qApp, &QGuiApplication::saveStateRequest, this, &DesktopSession::neverRestart);
    // The session manager's "die" reaches the application as a quit event; Kivo itself never sends one
    // (its approved quit leaves the event loop directly), so every quit event is the session ending.
    qApp->installEventFilter(this);
}

DesktopSession::~DesktopSession() {
    qApp->removeEventFilter(this);
}

void DesktopSession::neverRestart(QSessionManager& manager) {
    manager.setRestartHint(QSessionManager::RestartNever);
}

bool DesktopSession::eventFilter(QObject* watched, QEvent* event) {
    if (watched != qApp || event->type() != QEvent::Quit)
        return false;
    qCInfo(lcTermination, "Session manager ended the session");
    emit sessionEnding();
    // Not passed on: it would ask every window to close, and the main window and the shield refuse.
    return true;
}

} // namespace kivo
