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

constexpr std::uint32_t kReturn = XKB_KEY_Return;
constexpr std::uint32_t kDelete = XKB_KEY_Delete;
constexpr std::uint32_t kEscape = XKB_KEY_Escape;
constexpr std::chrono::milliseconds kStatePoll{10};
constexpr int kMaxTreeDepth = 32;
// A keymap replaced by one that types the same keys is followed this often in one group, no more.
constexpr int kMaxKeymapReloads = 3;

bool printableAscii(unsigned char c) {
    return c >= 0x20 && c < 0x7f;
}

// A modifier or group key down or latched: a key now would come out changed.
bool held(const xcb_xkb_get_state_reply_t& state) {
    return (state.baseMods | state.latchedMods) != 0 || state.baseGroup != 0 || state.latchedGroup != 0;
}

bool grabbedByOther(std::uint8_t status) {
    return status == XCB_GRAB_STATUS_ALREADY_GRABBED || status == XCB_GRAB_STATUS_FROZEN;
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
        // Layout and keymap changes arrive as events on this connection, read before each group and
        // checked before each key. A map change is reported only for the parts asked for: all of them.
        const std::uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
        const std::uint16_t parts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                                    XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS |
                                    XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_KEY_BEHAVIORS |
                                    XCB_XKB_MAP_PART_VIRTUAL_MODS | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
        xcb_xkb_select_events(c, static_cast<xcb_xkb_device_spec_t>(deviceId_), events, 0, events, parts,
                              parts, nullptr);
        probe_ = xcb_generate_id(c);
        xcb_create_window(c, 0, probe_, desktop_->root(), -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        xkbEventBase_ = eventBase;
        xkbReady_ = true;
    }
    followKeymapChanges();
    return keymap_ != nullptr;
}

bool LinuxKeystrokeSink::readEvents(bool queuedOnly) {
    xcb_connection_t* c = desktop_->connection();
    bool changed = false;
    while (xcb_generic_event_t* event = queuedOnly ? xcb_poll_for_queued_event(c) : xcb_poll_for_event(c)) {
        const int type = event->response_type & 0x7f;
        changed = changed || type == xkbEventBase_ ||
                  (type == XCB_MAPPING_NOTIFY &&
                   reinterpret_cast<xcb_mapping_notify_event_t*>(event)->request != XCB_MAPPING_POINTER);
        std::free(event);
    }
    keymapStale_ = keymapStale_ || changed;
    return changed;
}

void LinuxKeystrokeSink::followKeymapChanges() {
    readEvents(false);
    if (!keymapStale_) {
        return;
    }
    xkb_keymap* fresh = xkb_x11_keymap_new_from_device(context_, desktop_->connection(), deviceId_,
                                                       XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (fresh) {
        xkb_keymap_unref(keymap_);
        keymap_ = fresh;
        layout_.reset();
        keymapStale_ = false;
    }
}

const LayoutKeys* LinuxKeystrokeSink::layout(std::uint8_t group) {
    if (!keymap_) {
        return nullptr;
    }
    if (!layout_ || layout_->group() != group) {
        layout_.emplace(keymap_, group);
    }
    return &*layout_;
}

std::optional<LinuxKeystrokeSink::KeyboardState> LinuxKeystrokeSink::keyboardState() {
    xcb_connection_t* c = desktop_->connection();
    xcb_xkb_get_state_reply_t* reply = xcb_xkb_get_state_reply(
        c, xcb_xkb_get_state(c, static_cast<xcb_xkb_device_spec_t>(deviceId_)), nullptr);
    if (!reply) {
        return std::nullopt;
    }
    const KeyboardState state{held(*reply), reply->group};
    std::free(reply);
    return state;
}

LinuxKeystrokeSink::Grabs LinuxKeystrokeSink::askGrabs() {
    xcb_connection_t* c = desktop_->connection();
    return {xcb_grab_keyboard(c, 0, probe_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
            xcb_grab_pointer(c, 0, probe_, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE,
                             XCB_CURRENT_TIME)};
}

bool LinuxKeystrokeSink::grabbedByOthers(const Grabs& grabs) {
    xcb_connection_t* c = desktop_->connection();
    xcb_grab_keyboard_reply_t* keyboardGrab = xcb_grab_keyboard_reply(c, grabs.keyboard, nullptr);
    xcb_grab_pointer_reply_t* pointerGrab = xcb_grab_pointer_reply(c, grabs.pointer, nullptr);
    const bool grabbed = !keyboardGrab || !pointerGrab || grabbedByOther(keyboardGrab->status) ||
                         grabbedByOther(pointerGrab->status);
    // The probe window is never mapped, so neither grab can be taken; were one taken, it goes at once.
    if (keyboardGrab && keyboardGrab->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    }
    if (pointerGrab && pointerGrab->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    }
    std::free(keyboardGrab);
    std::free(pointerGrab);
    return grabbed;
}

std::optional<std::vector<xcb_window_t>> LinuxKeystrokeSink::focusChain(xcb_window_t focus,
                                                                        xcb_window_t target) {
    xcb_connection_t* c = desktop_->connection();
    std::vector<xcb_window_t> chain;
    // PointerRoot and None send keys to wherever the pointer is, or nowhere.
    for (int depth = 0; depth < kMaxTreeDepth && focus > XCB_INPUT_FOCUS_POINTER_ROOT; ++depth) {
        chain.push_back(focus);
        if (focus == target) {
            return chain;
        }
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, focus), nullptr);
        if (!tree) {
            return std::nullopt;
        }
        const xcb_window_t parent = tree->parent;
        const xcb_window_t root = tree->root;
        std::free(tree);
        if (parent == root || parent == XCB_NONE) {
            return std::nullopt;
        }
        focus = parent;
    }
    return std::nullopt;
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
    const auto grabs = askGrabs();
    xcb_get_input_focus_reply_t* focus = xcb_get_input_focus_reply(c, focusCookie, nullptr);
    const bool grabbed = grabbedByOthers(grabs);
    xcb_flush(c);
    const bool inside = focus && focusChain(focus->focus, static_cast<xcb_window_t>(window));
    std::free(focus);
    return inside && !grabbed;
}

std::optional<std::string> LinuxKeystrokeSink::keyboardText(const std::string& url) {
    const auto text = asciiURL(url);
    if (!text) {
        return std::nullopt;
    }
    std::lock_guard lock(mutex_);
    const auto state = ready() ? keyboardState() : std::nullopt;
    const LayoutKeys* keys = state ? layout(state->group) : nullptr;
    return keys ? keys->keyboardText(*text) : std::nullopt;
}

std::optional<std::vector<LinuxKeystrokeSink::Key>>
LinuxKeystrokeSink::keysFor(const LayoutKeys& keys, const std::vector<std::uint32_t>& keysyms,
                            bool control) const {
    std::vector<Key> out;
    out.reserve(keysyms.size());
    for (const auto keysym : keysyms) {
        const auto stroke = control ? keys.shortcut(keysym) : keys.stroke(keysym);
        if (!stroke) {
            return std::nullopt;
        }
        Key key;
        if (control) {
            key.modifiers.push_back(static_cast<xcb_keycode_t>(keys.controlKey()));
        }
        if (stroke->levelThree) {
            key.modifiers.push_back(static_cast<xcb_keycode_t>(keys.levelThreeKey()));
        }
        if (stroke->shift) {
            key.modifiers.push_back(static_cast<xcb_keycode_t>(keys.shiftKey()));
        }
        key.key = static_cast<xcb_keycode_t>(stroke->key);
        out.push_back(std::move(key));
    }
    return out;
}

bool LinuxKeystrokeSink::processed(std::optional<Proof>& proof) {
    if (!proof) {
        return true;
    }
    xcb_connection_t* c = desktop_->connection();
    xcb_query_keymap_reply_t* keymap = xcb_query_keymap_reply(c, proof->cookie, nullptr);
    const bool down = keymap && (keymap->keys[proof->key / 8] >> (proof->key % 8)) & 1;
    std::free(keymap);
    proof.reset();
    return down;
}

KeystrokeResult LinuxKeystrokeSink::sendOne(xcb_window_t target, std::vector<xcb_window_t>& chain,
                                            const Key& key, std::uint8_t group, Check& check,
                                            std::optional<Proof>& proof) {
    xcb_connection_t* c = desktop_->connection();
    const auto device = static_cast<xcb_xkb_device_spec_t>(deviceId_);
    // Nothing another client asks for (a window manager's focus change, a grab, a new keymap) is handled
    // until the ungrab. Every check is asked at once: one round trip.
    xcb_grab_server(c);
    const auto focusCookie = xcb_get_input_focus(c);
    std::vector<xcb_query_tree_cookie_t> treeCookies;
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        treeCookies.push_back(xcb_query_tree(c, chain[i]));
    }
    const auto stateCookie = xcb_xkb_get_state(c, device);
    const auto grabs = askGrabs();
    // The last key's proof was asked before these checks: its answer costs no round trip of its own.
    const bool lastProcessed = processed(proof);
    xcb_get_input_focus_reply_t* focus = xcb_get_input_focus_reply(c, focusCookie, nullptr);
    // The focus is where it was traced while each window on the way still has the same parent.
    bool traced = focus && focus->focus == chain.front();
    for (std::size_t i = 0; i < treeCookies.size(); ++i) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, treeCookies[i], nullptr);
        traced = traced && tree && tree->parent == chain[i + 1];
        std::free(tree);
    }
    xcb_xkb_get_state_reply_t* state = xcb_xkb_get_state_reply(c, stateCookie, nullptr);
    const bool grabbed = grabbedByOthers(grabs);
    // Events come before the replies to later requests: a keymap replaced before the grab was read with
    // the replies, without asking the socket again.
    const bool keymapChanged = readEvents(true);
    KeystrokeResult result = KeystrokeResult::sent;
    if (!focus || !state) {
        result = KeystrokeResult::failed;
    } else if (grabbed || !lastProcessed) {
        // A key kept back would be handed, once the keyboard thaws, to whatever has the focus then.
        result = KeystrokeResult::grabbed;
    } else if (held(*state)) {
        result = KeystrokeResult::modifierHeld;
    } else if (keymapChanged) {
        check = Check::keymapChanged;
        result = KeystrokeResult::untypable;
    } else if (state->group != group) {
        result = KeystrokeResult::untypable; // the layout changed under the text
    } else if (!traced) {
        // The focus moved, within the target or out of it: traced again, still under the grab.
        auto fresh = focusChain(focus->focus, target);
        if (fresh) {
            chain = std::move(*fresh);
        } else {
            result = KeystrokeResult::notFocused;
        }
    }
    if (result == KeystrokeResult::sent) {
        const std::uint8_t locked = state->lockedMods;
        if (locked) {
            xcb_xkb_latch_lock_state(c, device, locked, 0, 0, 0, 0, 0, 0);
        }
        const auto fake = [&](std::uint8_t type, xcb_keycode_t code) {
            xcb_test_fake_input(c, type, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        };
        for (const auto modifier : key.modifiers) {
            fake(XCB_KEY_PRESS, modifier);
        }
        fake(XCB_KEY_PRESS, key.key);
        proof = Proof{xcb_query_keymap(c), key.key};
        fake(XCB_KEY_RELEASE, key.key);
        for (auto it = key.modifiers.rbegin(); it != key.modifiers.rend(); ++it) {
            fake(XCB_KEY_RELEASE, *it);
        }
        if (locked) {
            xcb_xkb_latch_lock_state(c, device, locked, locked, 0, 0, 0, 0, 0);
        }
    }
    xcb_ungrab_server(c);
    xcb_flush(c);
    std::free(focus);
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
        if (!state->held) {
            break;
        }
        if (waited >= kModifierWait) {
            return KeystrokeResult::modifierHeld;
        }
        std::this_thread::sleep_for(kStatePoll);
    }
    // Everything that can be found out before the first key is: the keys, and the way from the focus up
    // to the target window, which each key's check then only confirms.
    const LayoutKeys* found = layout(state->group);
    if (!found) {
        return KeystrokeResult::failed;
    }
    const LayoutKeys lookedUp = *found;
    const auto keys = keysFor(lookedUp, keysyms, control);
    if (!keys) {
        return KeystrokeResult::untypable; // before any key
    }
    const auto target = static_cast<xcb_window_t>(window);
    xcb_connection_t* c = desktop_->connection();
    xcb_get_input_focus_reply_t* focus = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    auto chain = focus ? focusChain(focus->focus, target) : std::nullopt;
    std::free(focus);
    if (!chain) {
        return desktop_->isBroken() ? KeystrokeResult::failed : KeystrokeResult::notFocused;
    }
    int reloads = 0;
    std::optional<Proof> proof;
    for (std::size_t i = 0; i < keys->size();) {
        Check check = Check::sent;
        const auto result = sendOne(target, *chain, (*keys)[i], state->group, check, proof);
        if (check == Check::keymapChanged) {
            // The keys sent so far went out under the keymap they were looked up in. The rest go only when
            // the new keymap gives every character the same keys (a keyboard handing over to Kivo's own
            // sends the same keymap again).
            followKeymapChanges();
            const LayoutKeys* now = layout(state->group);
            if (++reloads > kMaxKeymapReloads || !now || !(*now == lookedUp)) {
                return KeystrokeResult::untypable;
            }
            continue;
        }
        if (result != KeystrokeResult::sent) {
            return result;
        }
        ++i;
    }
    // A round trip: the server has handled every key when it answers. A grab taken between the last
    // check and its key would have kept that key back: the group is then not counted as sent.
    const auto grabs = askGrabs();
    const bool lastProcessed = processed(proof);
    const bool grabbed = grabbedByOthers(grabs) || !lastProcessed;
    xcb_flush(c);
    if (desktop_->isBroken()) {
        return KeystrokeResult::failed;
    }
    return grabbed ? KeystrokeResult::grabbed : KeystrokeResult::sent;
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

KeystrokeResult LinuxKeystrokeSink::pressEscape(WindowHandle window) {
    std::lock_guard lock(mutex_);
    return send(window, {kEscape}, false);
}

} // namespace kivo
