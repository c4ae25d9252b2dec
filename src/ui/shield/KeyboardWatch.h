#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <xcb/xcb.h>

#include <chrono>
#include <functional>
#include <optional>

namespace kivo {

// Tells when no other X client holds the keyboard or the pointer any more, without ever taking either: a
// grab asked for on a window that is never mapped answers "already grabbed" while another client holds
// it, and otherwise fails with nothing taken, so a screen locker trying to grab meanwhile always can.
// Watches on a connection of its own.
class KeyboardWatch : public QObject {
    Q_OBJECT
public:
    explicit KeyboardWatch(QObject* parent = nullptr);
    ~KeyboardWatch() override;

    // `onFree` runs once: when the keyboard and pointer are free after another client held them, or
    // when `grace` has passed with no client taking them. Replaces a watch already running.
    void start(std::chrono::milliseconds grace, std::function<void()> onFree);
    void stop();
    bool isWatching() const { return poll_.isActive(); }

    // Whether another client holds the keyboard or the pointer now; none without an X server.
    std::optional<bool> heldByOther();

private:
    bool connectToServer();
    void poll();

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t probe_ = XCB_WINDOW_NONE;
    QTimer poll_;
    QElapsedTimer since_;
    std::chrono::milliseconds grace_{0};
    std::function<void()> onFree_;
    bool seenHeld_ = false;
    int freePolls_ = 0;
};

} // namespace kivo
