#include "ui/shield/VeilStacking.h"

#include "core/Log.h"
#include "ui/shield/XcbReply.h"

#include <QSocketNotifier>

#include <algorithm>

namespace kivo {

namespace {

// Another program that keeps its own window on top (a second locker) would trade raises with the veils
// for ever: they are raised at most this often.
constexpr int kRaiseSpacingMs = 20;

} // namespace

VeilStacking::VeilStacking(QObject* parent) : QObject(parent) {
    restack_.setSingleShot(true);
    connect(&restack_, &QTimer::timeout, this, &VeilStacking::restack);
}

VeilStacking::~VeilStacking() {
    disconnectFromServer();
}

void VeilStacking::keepOnTop(std::vector<xcb_window_t> windows) {
    windows_ = std::move(windows);
    if (windows_.empty()) {
        restack_.stop();
        disconnectFromServer();
        return;
    }
    if (connection_ || connectToServer())
        restackSoon();
}

bool VeilStacking::connectToServer() {
    int screen = 0;
    connection_ = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(connection_)) {
        qCWarning(lcLifecycle, "Shield cannot watch the window stacking: no X connection");
        disconnectFromServer();
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    root_ = it.data->root;
    // Every client may watch the root window's children; only redirecting them is the window manager's.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    XcbReply<xcb_generic_error_t> error(xcb_request_check(
        connection_, xcb_change_window_attributes_checked(connection_, root_, XCB_CW_EVENT_MASK, &mask)));
    if (error) {
        qCWarning(lcLifecycle, "Shield cannot watch the window stacking (X error %d)", error->error_code);
        disconnectFromServer();
        return false;
    }
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &VeilStacking::readEvents);
    return true;
}

void VeilStacking::disconnectFromServer() {
    notifier_.reset();
    if (connection_)
        xcb_disconnect(connection_);
    connection_ = nullptr;
    root_ = XCB_WINDOW_NONE;
}

void VeilStacking::readEvents() {
    while (connection_) {
        XcbReply<xcb_generic_event_t> event(xcb_poll_for_event(connection_));
        if (!event)
            break;
        handle(*event);
    }
    if (connection_ && xcb_connection_has_error(connection_)) {
        qCWarning(lcLifecycle, "Shield lost its X connection for watching the window stacking");
        disconnectFromServer();
    }
}

bool VeilStacking::isKept(xcb_window_t window) const {
    return std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

void VeilStacking::handle(const xcb_generic_event_t& event) {
    // Sent by a client rather than made by the server (a window manager's synthetic notices).
    const bool sent = event.response_type & 0x80;
    switch (event.response_type & ~0x80) {
    case XCB_MAP_NOTIFY:
        if (reinterpret_cast<const xcb_map_notify_event_t&>(event).event == root_)
            restackSoon();
        break;
    case XCB_CONFIGURE_NOTIFY: {
        const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
        if (configure.event == root_ && !isKept(configure.window))
            restackSoon();
        break;
    }
    case XCB_CIRCULATE_NOTIFY:
        if (reinterpret_cast<const xcb_circulate_notify_event_t&>(event).event == root_)
            restackSoon();
        break;
    case XCB_UNMAP_NOTIFY: {
        const auto& unmap = reinterpret_cast<const xcb_unmap_notify_event_t&>(event);
        if (sent || unmap.event != root_ || !isKept(unmap.window))
            break;
        // Reported only while it stays unmapped: Qt may have shown it again already.
        XcbReply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, unmap.window), nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_UNMAPPED)
            emit unmappedFromOutside(unmap.window);
        break;
    }
    default:
        break;
    }
}

void VeilStacking::restackSoon() {
    if (restack_.isActive())
        return;
    const qint64 since = sinceRaise_.isValid() ? sinceRaise_.elapsed() : kRaiseSpacingMs;
    restack_.start(static_cast<int>(std::max<qint64>(0, kRaiseSpacingMs - since)));
}

void VeilStacking::restack() {
    if (!connection_ || windows_.empty())
        return;
    XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
    if (tree) {
        // The root's children bottom to top: any window shown above the lowest kept one covers it.
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        const int count = xcb_query_tree_children_length(tree.get());
        int lowest = 0;
        while (lowest < count && !isKept(children[lowest]))
            ++lowest;
        std::vector<xcb_get_window_attributes_cookie_t> above;
        for (int i = lowest + 1; i < count; ++i) {
            if (!isKept(children[i]))
                above.push_back(xcb_get_window_attributes(connection_, children[i]));
        }
        bool covered = false;
        for (const auto& cookie : above) {
            XcbReply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(connection_, cookie, nullptr));
            covered = covered || (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
                                  attributes->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT);
        }
        if (covered) {
            const uint32_t above_all = XCB_STACK_MODE_ABOVE;
            for (xcb_window_t window : windows_)
                xcb_configure_window(connection_, window, XCB_CONFIG_WINDOW_STACK_MODE, &above_all);
            xcb_flush(connection_);
            sinceRaise_.restart();
            qCDebug(lcLifecycle, "Shield windows raised over another window");
        }
    }
    // Events that arrived with the replies are already read off the socket.
    while (connection_) {
        XcbReply<xcb_generic_event_t> event(xcb_poll_for_queued_event(connection_));
        if (!event)
            break;
        handle(*event);
    }
}

} // namespace kivo
