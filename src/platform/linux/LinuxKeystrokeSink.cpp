#include "platform/linux/LinuxKeystrokeSink.h"

// The header names a field `explicit`, a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xcb/xtest.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <idn2.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace kivo {
namespace {

constexpr std::uint32_t kShiftL = XKB_KEY_Shift_L;
constexpr std::uint32_t kControlL = XKB_KEY_Control_L;
constexpr std::uint32_t kReturn = XKB_KEY_Return;
constexpr std::uint32_t kDelete = XKB_KEY_Delete;
constexpr std::chrono::milliseconds kStatePoll{10};
constexpr int kMaxTreeDepth = 32;

bool printableAscii(unsigned char c) {
    return c >= 0x20 && c < 0x7f;
}

void percentEncode(std::string& out, unsigned char c) {
    static const char* hex = "0123456789ABCDEF";
    out += '%';
    out += hex[c >> 4];
    out += hex[c & 0xf];
}

} // namespace

LinuxKeystrokeSink::LinuxKeystrokeSink(std::unique_ptr<XcbDesktop> desktop) : desktop_(std::move(desktop)) {}

LinuxKeystrokeSink::~LinuxKeystrokeSink() {
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

bool LinuxKeystrokeSink::ready() {
    if (!desktop_ || desktop_->isBroken()) {
        return false;
    }
    xcb_connection_t* c = desktop_->connection();
    if (!xkbReady_) {
        std::uint8_t eventBase = 0;
        if (!xkb_x11_setup_xkb_extension(c, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                         XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &eventBase,
                                         nullptr)) {
            return false;
        }
        deviceId_ = xkb_x11_get_core_keyboard_device_id(c);
        context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        if (deviceId_ < 0 || !context_) {
            return false;
        }
        // Layout and keymap changes arrive as events on this connection, read before each group.
        const std::uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
        xcb_xkb_select_events(c, static_cast<xcb_xkb_device_spec_t>(deviceId_), events, 0, events, 0, 0,
                              nullptr);
        probe_ = xcb_generate_id(c);
        xcb_create_window(c, 0, probe_, desktop_->root(), -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        xkbEventBase_ = eventBase;
        xkbReady_ = true;
    }
    followKeymapChanges();
    return keymap_ != nullptr;
}

void LinuxKeystrokeSink::followKeymapChanges() {
    xcb_connection_t* c = desktop_->connection();
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        const int type = event->response_type & 0x7f;
        keymapStale_ = keymapStale_ || type == XCB_MAPPING_NOTIFY || type == xkbEventBase_;
        std::free(event);
    }
    if (!keymapStale_) {
        return;
    }
    xkb_keymap* fresh = xkb_x11_keymap_new_from_device(context_, c, deviceId_, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (fresh) {
        xkb_keymap_unref(keymap_);
        keymap_ = fresh;
        keymapStale_ = false;
    }
}

std::optional<LinuxKeystrokeSink::KeyboardState> LinuxKeystrokeSink::keyboardState() {
    xcb_connection_t* c = desktop_->connection();
    xcb_xkb_get_state_reply_t* reply = xcb_xkb_get_state_reply(
        c, xcb_xkb_get_state(c, static_cast<xcb_xkb_device_spec_t>(deviceId_)), nullptr);
    if (!reply) {
        return std::nullopt;
    }
    KeyboardState state{static_cast<std::uint8_t>(reply->baseMods | reply->latchedMods), reply->lockedMods,
                        reply->group};
    std::free(reply);
    return state;
}

std::optional<LinuxKeystrokeSink::Stroke> LinuxKeystrokeSink::strokeFor(std::uint32_t keysym,
                                                                        std::uint8_t group) const {
    if (!keymap_) {
        return std::nullopt;
    }
    const xkb_mod_index_t shiftIndex = xkb_keymap_mod_get_index(keymap_, XKB_MOD_NAME_SHIFT);
    const xkb_mod_mask_t shift = shiftIndex == XKB_MOD_INVALID ? 0 : (1u << shiftIndex);
    const xkb_keycode_t last = std::min<xkb_keycode_t>(xkb_keymap_max_keycode(keymap_), 255);
    // The unshifted level first, so that a letter is typed as itself rather than with Shift; only levels
    // reached with no modifier or Shift alone (never a third-level key the layout may put elsewhere).
    for (xkb_level_index_t level = 0; level < 2; ++level) {
        for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap_); key <= last; ++key) {
            const xkb_layout_index_t layouts = xkb_keymap_num_layouts_for_key(keymap_, key);
            if (layouts == 0) {
                continue;
            }
            const xkb_layout_index_t layout = group < layouts ? group : 0;
            const xkb_keysym_t* syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(keymap_, key, layout, level, &syms) != 1 ||
                syms[0] != keysym) {
                continue;
            }
            xkb_mod_mask_t masks[8];
            const std::size_t count =
                xkb_keymap_key_get_mods_for_level(keymap_, key, layout, level, masks, 8);
            const xkb_mod_mask_t wanted = level == 0 ? 0 : shift;
            if (std::find(masks, masks + count, wanted) != masks + count) {
                return Stroke{static_cast<xcb_keycode_t>(key), level == 1};
            }
        }
    }
    return std::nullopt;
}

bool LinuxKeystrokeSink::focusInside(xcb_window_t focus, xcb_window_t target) {
    xcb_connection_t* c = desktop_->connection();
    // PointerRoot and None send keys to wherever the pointer is, or nowhere.
    for (int depth = 0; depth < kMaxTreeDepth && focus > XCB_INPUT_FOCUS_POINTER_ROOT; ++depth) {
        if (focus == target) {
            return true;
        }
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, focus), nullptr);
        if (!tree) {
            return false;
        }
        const xcb_window_t parent = tree->parent;
        const xcb_window_t root = tree->root;
        std::free(tree);
        if (parent == root || parent == XCB_NONE) {
            return false;
        }
        focus = parent;
    }
    return false;
}

std::optional<std::string> LinuxKeystrokeSink::asciiURL(const std::string& url) {
    for (const unsigned char c : url) {
        if (c < 0x20 || c == 0x7f) {
            return std::nullopt;
        }
    }
    // The host: after "scheme://" and any "user@", up to the port, path, query or fragment.
    std::size_t hostStart = 0;
    std::size_t hostEnd = 0;
    if (const auto scheme = url.find("://"); scheme != std::string::npos) {
        const std::size_t authority = scheme + 3;
        std::size_t authorityEnd = url.find_first_of("/?#", authority);
        if (authorityEnd == std::string::npos) {
            authorityEnd = url.size();
        }
        const auto at = url.rfind('@', authorityEnd);
        hostStart = (at != std::string::npos && at >= authority) ? at + 1 : authority;
        hostEnd = hostStart;
        if (hostStart < authorityEnd && url[hostStart] == '[') {
            hostEnd = url.find(']', hostStart); // an IPv6 literal is ASCII already
            hostEnd = hostEnd == std::string::npos ? authorityEnd : hostEnd + 1;
        } else {
            const auto colon = url.find(':', hostStart);
            hostEnd = colon != std::string::npos && colon < authorityEnd ? colon : authorityEnd;
        }
    }
    std::string out;
    out.reserve(url.size() + 16);
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (i == hostStart && hostEnd > hostStart) {
            const std::string host = url.substr(hostStart, hostEnd - hostStart);
            const bool ascii =
                std::all_of(host.begin(), host.end(), [](unsigned char c) { return c < 0x80; });
            if (ascii) {
                out += host;
            } else {
                char* ace = nullptr;
                if (idn2_to_ascii_8z(host.c_str(), &ace, IDN2_NONTRANSITIONAL | IDN2_NFC_INPUT) != IDN2_OK) {
                    return std::nullopt;
                }
                const std::string converted = ace;
                idn2_free(ace);
                // A character mapped away to nothing would leave another host than the one asked for.
                if (converted.empty() || converted.front() == '.' ||
                    converted.find("..") != std::string::npos) {
                    return std::nullopt;
                }
                out += converted;
            }
            i = hostEnd - 1;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(url[i]);
        if (c >= 0x80 || c == ' ') {
            percentEncode(out, c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool LinuxKeystrokeSink::hasKeyboardFocus(WindowHandle window) {
    std::lock_guard lock(mutex_);
    if (!ready() || window == 0) {
        return false;
    }
    xcb_connection_t* c = desktop_->connection();
    const auto focusCookie = xcb_get_input_focus(c);
    const auto grabCookie =
        xcb_grab_keyboard(c, 0, probe_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_get_input_focus_reply_t* focus = xcb_get_input_focus_reply(c, focusCookie, nullptr);
    xcb_grab_keyboard_reply_t* grab = xcb_grab_keyboard_reply(c, grabCookie, nullptr);
    const bool grabbed =
        !grab || grab->status == XCB_GRAB_STATUS_ALREADY_GRABBED || grab->status == XCB_GRAB_STATUS_FROZEN;
    if (grab && grab->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
    const bool inside = focus && focusInside(focus->focus, static_cast<xcb_window_t>(window));
    std::free(focus);
    std::free(grab);
    return inside && !grabbed;
}

std::optional<std::string> LinuxKeystrokeSink::keyboardText(const std::string& url) {
    auto text = asciiURL(url);
    if (!text) {
        return std::nullopt;
    }
    std::lock_guard lock(mutex_);
    const auto state = ready() ? keyboardState() : std::nullopt;
    if (!state) {
        return std::nullopt;
    }
    for (const unsigned char c : *text) {
        if (!printableAscii(c) || !strokeFor(c, state->group)) {
            return std::nullopt;
        }
    }
    return text;
}

KeystrokeResult LinuxKeystrokeSink::sendOne(xcb_window_t target, const Stroke& stroke, bool control,
                                            std::uint8_t group) {
    xcb_connection_t* c = desktop_->connection();
    const auto device = static_cast<xcb_xkb_device_spec_t>(deviceId_);
    // Nothing another client asks for (a window manager's focus change) is handled until the ungrab.
    xcb_grab_server(c);
    const auto focusCookie = xcb_get_input_focus(c);
    const auto grabCookie =
        xcb_grab_keyboard(c, 0, probe_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    const auto stateCookie = xcb_xkb_get_state(c, device);
    xcb_get_input_focus_reply_t* focus = xcb_get_input_focus_reply(c, focusCookie, nullptr);
    xcb_grab_keyboard_reply_t* grab = xcb_grab_keyboard_reply(c, grabCookie, nullptr);
    xcb_xkb_get_state_reply_t* state = xcb_xkb_get_state_reply(c, stateCookie, nullptr);
    KeystrokeResult result = KeystrokeResult::sent;
    if (!focus || !grab || !state) {
        result = KeystrokeResult::failed;
    } else if (grab->status == XCB_GRAB_STATUS_ALREADY_GRABBED || grab->status == XCB_GRAB_STATUS_FROZEN) {
        result = KeystrokeResult::grabbed;
    } else if ((state->baseMods | state->latchedMods) != 0) {
        result = KeystrokeResult::modifierHeld;
    } else if (state->group != group) {
        result = KeystrokeResult::untypable; // the layout changed under the text
    } else if (!focusInside(focus->focus, target)) {
        result = KeystrokeResult::notFocused;
    }
    if (grab && grab->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    }
    if (result == KeystrokeResult::sent) {
        const std::uint8_t locked = state->lockedMods;
        if (locked) {
            xcb_xkb_latch_lock_state(c, device, locked, 0, 0, 0, 0, 0, 0);
        }
        const auto fake = [&](std::uint8_t type, xcb_keycode_t key) {
            xcb_test_fake_input(c, type, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        };
        const auto control_ = strokeFor(kControlL, group);
        const auto shift = strokeFor(kShiftL, group);
        if ((control && !control_) || (stroke.shift && !shift)) {
            result = KeystrokeResult::untypable;
        } else {
            if (control) {
                fake(XCB_KEY_PRESS, control_->key);
            }
            if (stroke.shift) {
                fake(XCB_KEY_PRESS, shift->key);
            }
            fake(XCB_KEY_PRESS, stroke.key);
            fake(XCB_KEY_RELEASE, stroke.key);
            if (stroke.shift) {
                fake(XCB_KEY_RELEASE, shift->key);
            }
            if (control) {
                fake(XCB_KEY_RELEASE, control_->key);
            }
        }
        if (locked) {
            xcb_xkb_latch_lock_state(c, device, locked, locked, 0, 0, 0, 0, 0);
        }
    }
    xcb_ungrab_server(c);
    xcb_flush(c);
    std::free(focus);
    std::free(grab);
    std::free(state);
    return result;
}

KeystrokeResult LinuxKeystrokeSink::send(WindowHandle window, const std::vector<std::uint32_t>& keysyms,
                                         bool control) {
    if (!ready() || window == 0) {
        return KeystrokeResult::failed;
    }
    // A modifier the user is letting go of gets a moment; one held on is never typed through.
    std::optional<KeyboardState> state;
    for (auto waited = std::chrono::milliseconds::zero();; waited += kStatePoll) {
        state = keyboardState();
        if (!state) {
            return KeystrokeResult::failed;
        }
        if (state->heldMods == 0) {
            break;
        }
        if (waited >= kModifierWait) {
            return KeystrokeResult::modifierHeld;
        }
        std::this_thread::sleep_for(kStatePoll);
    }
    std::vector<Stroke> strokes;
    strokes.reserve(keysyms.size());
    for (const auto keysym : keysyms) {
        const auto stroke = strokeFor(keysym, state->group);
        if (!stroke) {
            return KeystrokeResult::untypable; // before any key
        }
        strokes.push_back(*stroke);
    }
    for (const auto& stroke : strokes) {
        if (const auto result = sendOne(static_cast<xcb_window_t>(window), stroke, control, state->group);
            result != KeystrokeResult::sent) {
            return result;
        }
    }
    // A round trip: the server has handled every event when it answers.
    xcb_connection_t* c = desktop_->connection();
    xcb_get_input_focus_reply_t* sync = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    std::free(sync);
    return sync != nullptr && !desktop_->isBroken() ? KeystrokeResult::sent : KeystrokeResult::failed;
}

KeystrokeResult LinuxKeystrokeSink::typeText(WindowHandle window, const std::string& text) {
    std::vector<std::uint32_t> keysyms;
    keysyms.reserve(text.size());
    for (const unsigned char ch : text) {
        // Anything else would either need a keymap change or act as a key of its own.
        if (!printableAscii(ch)) {
            return KeystrokeResult::untypable;
        }
        keysyms.push_back(ch); // ASCII keysyms are the characters' own codes
    }
    std::lock_guard lock(mutex_);
    return send(window, keysyms, false);
}

KeystrokeResult LinuxKeystrokeSink::focusAddressField(WindowHandle window) {
    std::lock_guard lock(mutex_);
    return send(window, {'l'}, true);
}

KeystrokeResult LinuxKeystrokeSink::selectAll(WindowHandle window) {
    std::lock_guard lock(mutex_);
    return send(window, {'a'}, true);
}

KeystrokeResult LinuxKeystrokeSink::pressReturn(WindowHandle window) {
    std::lock_guard lock(mutex_);
    return send(window, {kReturn}, false);
}

KeystrokeResult LinuxKeystrokeSink::pressDelete(WindowHandle window) {
    std::lock_guard lock(mutex_);
    return send(window, {kDelete}, false);
}

} // namespace kivo
