#pragma once

#include "app/shield/SessionLockSource.h"
#include "app/shield/UserIdleSource.h"

#include <QByteArray>
#include <QObject>

#include <xcb/xcb.h>

#include <memory>

class QSocketNotifier;

namespace kivo {

// The X server's own screen saver (the MIT-SCREEN-SAVER extension), which an idle lock follows: a
// launcher starts the locker when it turns on after the idle time, without a word to logind. On (or a
// cycle of it) is reported as locked, off as unlocked. Watches on a connection of its own, never
// waiting for the server; a server without the extension gives no reports. It also tells the user's idle
// time as the server counts it (a short round trip to the local server).
class XScreenSaverLock final : public QObject, public SessionLockSource, public UserIdleSource {
    Q_OBJECT
public:
    // The X server `display` names, $DISPLAY's when empty.
    explicit XScreenSaverLock(const QByteArray& display = {}, QObject* parent = nullptr);
    ~XScreenSaverLock() override;

    void setSessionLockHandler(std::function<void(Change)> handler) override;
    std::optional<std::chrono::milliseconds> idleTime() override;
    // Whether the server's screen saver is followed: the extension is there and its notices are asked for.
    bool isFollowing() const { return eventBase_ != 0; }

private:
    void readServer();
    void startFollowing();
    void disconnectFromServer();

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    // A request sent after the extension's query: once its reply is in, so is the query's.
    unsigned int marker_ = 0;
    std::uint8_t eventBase_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void(Change)> handler_;
};

} // namespace kivo
