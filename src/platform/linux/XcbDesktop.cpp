#include "platform/linux/XcbDesktop.h"

#include <xcb/res.h>

#include <cstdlib>
#include <cstring>

namespace kivo {

std::unique_ptr<XcbDesktop> XcbDesktop::connect() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        return nullptr;
    }
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection) {
            xcb_disconnect(connection);
        }
        return nullptr;
    }
    auto desktop = std::unique_ptr<XcbDesktop>(new XcbDesktop(connection, screen));
    if (!desktop->root_) {
        return nullptr;
    }
    return desktop;
}

XcbDesktop::XcbDesktop(xcb_connection_t* connection, int screen) : connection_(connection), screen_(screen) {
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection_, &ewmh_);
    if (!xcb_ewmh_init_atoms_replies(&ewmh_, cookies, nullptr)) {
        std::memset(&ewmh_, 0, sizeof ewmh_);
        return;
    }
    if (screen_ >= 0 && screen_ < ewmh_.nb_screens) {
        root_ = ewmh_.screens[screen_]->root;
    }
    // Client ids with process numbers came with version 1.2 of the resource extension.
    const xcb_query_extension_reply_t* resources = xcb_get_extension_data(connection_, &xcb_res_id);
    if (resources && resources->present) {
        xcb_res_query_version_reply_t* version =
            xcb_res_query_version_reply(connection_, xcb_res_query_version(connection_, 1, 2), nullptr);
        clientProcesses_ = version && (version->server_major > 1 ||
                                       (version->server_major == 1 && version->server_minor >= 2));
        std::free(version);
    }
}

XcbDesktop::~XcbDesktop() {
    if (ewmh_.connection) {
        xcb_ewmh_connection_wipe(&ewmh_);
    }
    xcb_disconnect(connection_);
}

xcb_window_t XcbDesktop::activeWindow() {
    counted();
    xcb_window_t window = 0;
    if (!xcb_ewmh_get_active_window_reply(&ewmh_, xcb_ewmh_get_active_window(&ewmh_, screen_), &window,
                                          nullptr)) {
        return 0;
    }
    return window;
}

namespace {

std::vector<xcb_window_t> windowList(xcb_ewmh_get_windows_reply_t& reply) {
    std::vector<xcb_window_t> list(reply.windows, reply.windows + reply.windows_len);
    xcb_ewmh_get_windows_reply_wipe(&reply);
    return list;
}

} // namespace

std::vector<xcb_window_t> XcbDesktop::clientList() {
    counted();
    xcb_ewmh_get_windows_reply_t reply;
    if (!xcb_ewmh_get_client_list_reply(&ewmh_, xcb_ewmh_get_client_list(&ewmh_, screen_), &reply, nullptr)) {
        return {};
    }
    return windowList(reply);
}

std::vector<xcb_window_t> XcbDesktop::stackingOrder() {
    counted();
    xcb_ewmh_get_windows_reply_t reply;
    if (!xcb_ewmh_get_client_list_stacking_reply(&ewmh_, xcb_ewmh_get_client_list_stacking(&ewmh_, screen_),
                                                 &reply, nullptr)) {
        return clientList();
    }
    return windowList(reply);
}

std::optional<int> XcbDesktop::windowProcess(xcb_window_t window) {
    counted();
    if (!window) {
        return std::nullopt;
    }
    // The process that owns the window's connection, as the X server saw it connect: unlike the number the
    // window claims (_NET_WM_PID), which a process in a PID namespace of its own gives in that namespace,
    // it is the number the rest of the desktop (the accessibility bus) knows the process by.
    if (clientProcesses_) {
        // Only the owner's process number is asked for, so every value that comes back is one.
        const xcb_res_client_id_spec_t asked{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
        xcb_res_query_client_ids_reply_t* reply = xcb_res_query_client_ids_reply(
            connection_, xcb_res_query_client_ids(connection_, 1, &asked), nullptr);
        std::uint32_t pid = 0;
        if (reply) {
            for (auto it = xcb_res_query_client_ids_ids_iterator(reply); it.rem;
                 xcb_res_client_id_value_next(&it)) {
                if (xcb_res_client_id_value_value_length(it.data) == 1) {
                    pid = *xcb_res_client_id_value_value(it.data);
                }
            }
            std::free(reply);
        }
        if (pid != 0) {
            return static_cast<int>(pid);
        }
    }
    // A client on another machine has no local process: its window's own word is all there is.
    std::uint32_t pid = 0;
    if (!xcb_ewmh_get_wm_pid_reply(&ewmh_, xcb_ewmh_get_wm_pid(&ewmh_, window), &pid, nullptr) || pid == 0) {
        return std::nullopt;
    }
    return static_cast<int>(pid);
}

std::optional<XcbDesktop::WindowClass> XcbDesktop::windowClass(xcb_window_t window) {
    counted();
    const auto cookie = xcb_get_property(connection_, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
    if (!reply) {
        return std::nullopt;
    }
    const char* value = static_cast<const char*>(xcb_get_property_value(reply));
    const int length = xcb_get_property_value_length(reply);
    std::string both(value, value + (length > 0 ? length : 0));
    std::free(reply);
    if (both.empty()) {
        return std::nullopt;
    }
    // Two NUL-terminated texts: the instance, then the class.
    WindowClass result;
    const auto split = both.find('\0');
    result.instance = both.substr(0, split);
    if (split != std::string::npos) {
        result.className = both.substr(split + 1);
        if (const auto end = result.className.find('\0'); end != std::string::npos) {
            result.className.resize(end);
        }
    }
    return result;
}

std::string XcbDesktop::title(xcb_window_t window) {
    counted();
    xcb_ewmh_get_utf8_strings_reply_t reply;
    if (!xcb_ewmh_get_wm_name_reply(&ewmh_, xcb_ewmh_get_wm_name(&ewmh_, window), &reply, nullptr)) {
        return {};
    }
    std::string text(reply.strings, reply.strings_len);
    xcb_ewmh_get_utf8_strings_reply_wipe(&reply);
    return text;
}

std::optional<XcbDesktop::Rect> XcbDesktop::geometry(xcb_window_t window) {
    counted();
    const auto geometryCookie = xcb_get_geometry(connection_, window);
    const auto translateCookie = xcb_translate_coordinates(connection_, window, root_, 0, 0);
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(connection_, geometryCookie, nullptr);
    xcb_translate_coordinates_reply_t* t =
        xcb_translate_coordinates_reply(connection_, translateCookie, nullptr);
    std::optional<Rect> rect;
    if (g && t) {
        rect = Rect{t->dst_x, t->dst_y, g->width, g->height};
    }
    std::free(g);
    std::free(t);
    return rect;
}

xcb_window_t XcbDesktop::topWindowOf(int processId) {
    const auto stack = stackingOrder();
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (windowProcess(*it) == processId) {
            return *it;
        }
    }
    return 0;
}

bool XcbDesktop::requestActivation(xcb_window_t window) {
    if (!window) {
        return false;
    }
    // Source 2: a pager, which window managers obey without focus-stealing prevention.
    xcb_ewmh_request_change_active_window(&ewmh_, screen_, window, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
                                          XCB_CURRENT_TIME, XCB_NONE);
    return xcb_flush(connection_) > 0;
}

} // namespace kivo
