#include "ui/shield/KeyboardWatch.h"

#include "core/Log.h"
#include "ui/shield/XcbReply.h"

#include <QGuiApplication>

namespace kivo {

namespace {

constexpr int kPollMs = 100;
// A locker that hands its grab from one window to another lets go for a moment: free means free for
// this many polls in a row.
constexpr int kFreePolls = 5;

bool heldStatus(std::uint8_t status) {
    return status == XCB_GRAB_STATUS_ALREADY_GRABBED || status == XCB_GRAB_STATUS_FROZEN;
}

} // namespace

KeyboardWatch::KeyboardWatch(QObject* parent) : QObject(parent) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &KeyboardWatch::poll);
}

KeyboardWatch::~KeyboardWatch() {
    if (connection_)
        xcb_disconnect(connection_);
}

void KeyboardWatch::start(std::chrono::milliseconds grace, std::function<void()> onFree) {
    grace_ = grace;
    onFree_ = std::move(onFree);
    seenHeld_ = false;
    freePolls_ = 0;
    since_.start();
    poll_.start();
}

void KeyboardWatch::stop() {
    poll_.stop();
    onFree_ = nullptr;
}

bool KeyboardWatch::connectToServer() {
    if (connection_)
        return true;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    int screen = 0;
    connection_ = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
        qCWarning(lcLifecycle, "Shield cannot watch the keyboard: no X connection");
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    probe_ = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, probe_, it.data->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    return true;
}

std::optional<bool> KeyboardWatch::heldByOther() {
    if (!connectToServer())
        return std::nullopt;
    const auto keyboardCookie =
        xcb_grab_keyboard(connection_, 0, probe_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    const auto pointerCookie = xcb_grab_pointer(connection_, 0, probe_, 0, XCB_GRAB_MODE_ASYNC,
                                                XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME);
    XcbReply<xcb_grab_keyboard_reply_t> keyboard(
        xcb_grab_keyboard_reply(connection_, keyboardCookie, nullptr));
    XcbReply<xcb_grab_pointer_reply_t> pointer(xcb_grab_pointer_reply(connection_, pointerCookie, nullptr));
    if (!keyboard || !pointer) {
        qCWarning(lcLifecycle, "Shield lost its X connection for watching the keyboard");
        xcb_disconnect(connection_);
        connection_ = nullptr;
        return std::nullopt;
    }
    // The probe is never mapped, so neither grab can be taken; were one taken, it goes at once.
    if (keyboard->status == XCB_GRAB_STATUS_SUCCESS)
        xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
    if (pointer->status == XCB_GRAB_STATUS_SUCCESS)
        xcb_ungrab_pointer(connection_, XCB_CURRENT_TIME);
    xcb_flush(connection_);
    return heldStatus(keyboard->status) || heldStatus(pointer->status);
}

void KeyboardWatch::poll() {
    // Without an X server nothing can be told: the grace decides.
    const bool held = heldByOther().value_or(false);
    if (held) {
        seenHeld_ = true;
        freePolls_ = 0;
        return;
    }
    ++freePolls_;
    const bool free = seenHeld_ ? freePolls_ >= kFreePolls : since_.elapsed() >= grace_.count();
    if (!free)
        return;
    auto onFree = std::move(onFree_);
    stop();
    if (onFree)
        onFree();
}

} // namespace kivo
