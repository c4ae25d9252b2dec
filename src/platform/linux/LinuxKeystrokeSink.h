#pragma once

#include "browser-monitor/ports/KeystrokeSink.h"
#include "platform/linux/LayoutKeys.h"
#include "platform/linux/XcbDesktop.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct xkb_context;
struct xkb_keymap;

namespace kivo {

// Keystrokes through the X server's XTest extension, on a connection of their own. Only printable ASCII
// is ever typed: a URL is first put in that form (the host in punycode, everything else percent-
// encoded), and then in the characters the keyboard's current layout has, on any of its levels (a
// character it lacks is percent-encoded where the address allows it). A character that still has no key
// fails the call before any key goes out. Ctrl stands in for the other desktop's command key.
//
// The keys are looked up, and the focus traced up to the target window, before each group goes out. Each
// key then goes out under a short server grab, after checking in the same grab, with one round trip,
// that the X input focus is still where it was traced, that no other client holds the keyboard or the
// pointer (either grab can freeze the keyboard, and a frozen keyboard keeps keys back for whatever has
// the focus when it thaws), that no modifier key is held, and that the keymap and group are the ones the
// keys were looked up in: no other client's request, a window manager's focus change included, can come
// between the check and the key. Locked modifiers (Caps Lock, Num Lock) are released for the key and
// locked again right after it.
class LinuxKeystrokeSink final : public KeystrokeSink {
public:
    // How long a held modifier may take to be let go before a group is given up.
    static constexpr std::chrono::milliseconds kModifierWait{300};

    // Posts nothing when `desktop` is none.
    explicit LinuxKeystrokeSink(std::unique_ptr<XcbDesktop> desktop);
    ~LinuxKeystrokeSink() override;

    bool hasKeyboardFocus(WindowHandle window) override;
    std::optional<std::string> keyboardText(const std::string& url) override;
    KeystrokeResult focusAddressField(WindowHandle window) override;
    KeystrokeResult selectAll(WindowHandle window) override;
    KeystrokeResult typeText(WindowHandle window, const std::string& text) override;
    KeystrokeResult pressReturn(WindowHandle window) override;
    KeystrokeResult pressDelete(WindowHandle window) override;
    KeystrokeResult pressEscape(WindowHandle window) override;

    // The URL's ASCII form: none when it holds a control character or a host that is no valid
    // internationalised name.
    static std::optional<std::string> asciiURL(const std::string& url);

private:
    struct KeyboardState {
        bool held = false; // a modifier or group key is down or latched
        std::uint8_t group = 0;
    };
    // One key as it goes out: the modifier keys around it, outermost first.
    struct Key {
        std::vector<xcb_keycode_t> modifiers;
        xcb_keycode_t key = 0;
    };
    enum class Check { sent, keymapChanged };
    // The state of the keyboard asked for right after a key's press: the key shows as down only when the
    // server processed the press at once, rather than keeping it back for a frozen keyboard.
    struct Proof {
        xcb_query_keymap_cookie_t cookie;
        xcb_keycode_t key = 0;
    };
    // Grabs asked for on the probe window, answered together with the other checks.
    struct Grabs {
        xcb_grab_keyboard_cookie_t keyboard;
        xcb_grab_pointer_cookie_t pointer;
    };

    bool ready();
    bool readEvents(bool queuedOnly);
    void followKeymapChanges();
    const LayoutKeys* layout(std::uint8_t group);
    std::optional<KeyboardState> keyboardState();
    Grabs askGrabs();
    bool grabbedByOthers(const Grabs& grabs);
    std::optional<std::vector<xcb_window_t>> focusChain(xcb_window_t focus, xcb_window_t target);
    std::optional<std::vector<Key>> keysFor(const LayoutKeys& keys, const std::vector<std::uint32_t>& keysyms,
                                            bool control) const;
    KeystrokeResult send(WindowHandle window, const std::vector<std::uint32_t>& keysyms, bool control);
    bool processed(std::optional<Proof>& proof);
    KeystrokeResult sendOne(xcb_window_t target, std::vector<xcb_window_t>& chain, const Key& key,
                            std::uint8_t group, Check& check, std::optional<Proof>& proof);

    std::unique_ptr<XcbDesktop> desktop_;
    std::mutex mutex_;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    std::optional<LayoutKeys> layout_;
    bool keymapStale_ = true;
    bool xkbReady_ = false;
    std::uint8_t xkbEventBase_ = 0;
    std::int32_t deviceId_ = -1;
    // Never mapped: a grab on it answers "already grabbed" while another client holds the keyboard or the
    // pointer, and otherwise fails without taking anything, so that no window sees a focus or crossing
    // event.
    xcb_window_t probe_ = 0;
};

} // namespace kivo
