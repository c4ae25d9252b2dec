#include "platform/linux/XScreenSaverLock.h"

#include "core/Log.h"

#include <QSocketNotifier>

#include <xcb/screensaver.h>
#include <xcb/xcbext.h>

#include <cstdlib>

namespace kivo {

XScreenSaverLock::XScreenSaverLock(const QByteArray& display, QObject* parent) : QObject(parent) {
    int screen = 0;
    connection_ = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screen);
    if (xcb_connection_has_error(connection_)) {
        qCInfo(lcLifecycle, "Not following the X server's screen saver: no X connection");
        disconnectFromServer();
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    root_ = it.data->root;
    // Asked for without waiting: the answer is read when the server's socket has something.
    xcb_prefetch_extension_data(connection_, &xcb_screensaver_id);
    marker_ = xcb_get_input_focus(connection_).sequence;
    xcb_flush(connection_);
    notifier_ =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &XScreenSaverLock::readServer);
}

XScreenSaverLock::~XScreenSaverLock() {
    disconnectFromServer();
}

void XScreenSaverLock::setSessionLockHandler(std::function<void(Change)> handler) {
    handler_ = std::move(handler);
}

std::optional<std::chrono::milliseconds> XScreenSaverLock::idleTime() {
    if (!isFollowing())
        return std::nullopt;
    xcb_generic_error_t* error = nullptr;
    auto* info =
        xcb_screensaver_query_info_reply(connection_, xcb_screensaver_query_info(connection_, root_), &error);
    std::free(error);
    const std::optional<std::chrono::milliseconds> idle =
        info ? std::optional(std::chrono::milliseconds(info->ms_since_user_input)) : std::nullopt;
    std::free(info);
    // Notices that came in while waiting for the reply are queued in the connection, where the socket's
    // notifier would not see them: read on the next turn of the event loop, not inside the caller.
    QMetaObject::invokeMethod(this, &XScreenSaverLock::readServer, Qt::QueuedConnection);
    return idle;
}

void XScreenSaverLock::disconnectFromServer() {
    notifier_.reset();
    if (connection_)
        xcb_disconnect(connection_);
    connection_ = nullptr;
    eventBase_ = 0;
}

void XScreenSaverLock::readServer() {
    if (marker_ != 0) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (!xcb_poll_for_reply(connection_, marker_, &reply, &error))
            return;
        std::free(reply);
        std::free(error);
        marker_ = 0;
        if (!xcb_connection_has_error(connection_))
            startFollowing();
    }
    while (connection_) {
        xcb_generic_event_t* event = xcb_poll_for_event(connection_);
        if (!event)
            break;
        const auto* notify = reinterpret_cast<const xcb_screensaver_notify_event_t*>(event);
        const bool saver = (event->response_type & 0x7f) == eventBase_ + XCB_SCREENSAVER_NOTIFY;
        const std::uint8_t state = notify->state;
        std::free(event);
        if (!saver)
            continue;
        qCDebug(lcLifecycle, "X screen saver: state %d", state);
        const Change change = state == XCB_SCREENSAVER_STATE_ON || state == XCB_SCREENSAVER_STATE_CYCLE
                                  ? Change::locked
                                  : Change::unlocked;
        if (handler_) {
            auto handler = handler_;
            handler(change);
        }
    }
    if (connection_ && xcb_connection_has_error(connection_)) {
        qCWarning(lcLifecycle, "Lost the X connection that follows the screen saver");
        disconnectFromServer();
    }
}

void XScreenSaverLock::startFollowing() {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection_, &xcb_screensaver_id);
    if (!extension || !extension->present) {
        qCInfo(lcLifecycle, "Not following the X server's screen saver: the server has no such extension");
        disconnectFromServer();
        return;
    }
    eventBase_ = extension->first_event;
    xcb_screensaver_select_input(connection_, root_, XCB_SCREENSAVER_EVENT_NOTIFY_MASK);
    xcb_flush(connection_);
    qCInfo(lcLifecycle, "Following the X server's screen saver");
}

} // namespace kivo
