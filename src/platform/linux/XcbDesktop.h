#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

// One connection to the X server and its window manager's hints (EWMH). xcb connections may be used
// from several threads at once; each caller that waits on replies (a worker) gets its own connection so
// that a slow reply never holds up another thread's. Every request goes to the local X server, which
// answers at once: nothing here waits on an application.
class XcbDesktop {
public:
    struct Rect {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        friend bool operator==(const Rect&, const Rect&) = default;
    };
    struct WindowClass {
        std::string instance;
        std::string className;
    };

    // None when there is no X display.
    static std::unique_ptr<XcbDesktop> connect();
    ~XcbDesktop();
    XcbDesktop(const XcbDesktop&) = delete;
    XcbDesktop& operator=(const XcbDesktop&) = delete;

    xcb_connection_t* connection() const { return connection_; }
    xcb_ewmh_connection_t& ewmh() { return ewmh_; }
    xcb_window_t root() const { return root_; }
    bool isBroken() const { return xcb_connection_has_error(connection_) != 0; }

    // The window with the focus (0 when none).
    xcb_window_t activeWindow();
    std::vector<xcb_window_t> clientList();
    // Bottom to top.
    std::vector<xcb_window_t> stackingOrder();
    // The process that owns the window: the X client's process as the X server knows it, or where the
    // server cannot tell (a remote client), the number the window gives (_NET_WM_PID).
    std::optional<int> windowProcess(xcb_window_t window);
    std::optional<WindowClass> windowClass(xcb_window_t window);
    // The window's title (_NET_WM_NAME); empty when it has none.
    std::string title(xcb_window_t window);
    // The window's area on the root, without the window manager's frame.
    std::optional<Rect> geometry(xcb_window_t window);
    // The topmost managed window of the process; 0 when it has none.
    xcb_window_t topWindowOf(int processId);
    // Asks the window manager to bring the window forward with the focus, as a pager would.
    bool requestActivation(xcb_window_t window);

    // Requests that waited for a reply, for the figures of the bench.
    long roundTrips() const { return roundTrips_.load(); }

private:
    XcbDesktop(xcb_connection_t* connection, int screen);
    void counted() { ++roundTrips_; }

    xcb_connection_t* connection_;
    xcb_ewmh_connection_t ewmh_{};
    int screen_ = 0;
    xcb_window_t root_ = 0;
    bool clientProcesses_ = false; // the server tells the process of a client
    std::atomic<long> roundTrips_{0};
};

} // namespace kivo
