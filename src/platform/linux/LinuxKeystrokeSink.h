#pragma once

#include "browser-monitor/ports/KeystrokeSink.h"
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
// encoded), and a character that the keyboard's current layout has no key for fails the call before any
// key goes out. Ctrl stands in for the other desktop's command key.
//
// Each key goes out under a short server grab, after checking in the same grab that the X input focus is
// the target window (or inside it), that no other client holds the keyboard (a screen locker, a menu),
// and that no modifier key is held: no other client's request, a window manager's focus change included,
// can come between the check and the key. Locked modifiers (Caps Lock, Num Lock) are released for the
// key and locked again right after it. The keymap is read again whenever the server reports a change.
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

    // The URL's ASCII form: none when it holds a control character or a host that is no valid
    // internationalised name.
    static std::optional<std::string> asciiURL(const std::string& url);

private:
    struct Stroke {
        xcb_keycode_t key = 0;
        bool shift = false;
    };
    struct KeyboardState {
        std::uint8_t heldMods = 0;
        std::uint8_t lockedMods = 0;
        std::uint8_t group = 0;
    };

    bool ready();
    void followKeymapChanges();
    std::optional<KeyboardState> keyboardState();
    std::optional<Stroke> strokeFor(std::uint32_t keysym, std::uint8_t group) const;
    bool focusInside(xcb_window_t focus, xcb_window_t target);
    KeystrokeResult send(WindowHandle window, const std::vector<std::uint32_t>& keysyms, bool control);
    KeystrokeResult sendOne(xcb_window_t target, const Stroke& stroke, bool control, std::uint8_t group);

    std::unique_ptr<XcbDesktop> desktop_;
    std::mutex mutex_;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    bool keymapStale_ = true;
    bool xkbReady_ = false;
    std::uint8_t xkbEventBase_ = 0;
    std::int32_t deviceId_ = -1;
    xcb_window_t probe_ = 0; // never mapped: a grab on it tells whether another client holds the keyboard
};

} // namespace kivo
