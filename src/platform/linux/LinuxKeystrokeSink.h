#pragma once

#include "browser-monitor/ports/KeystrokeSink.h"
#include "platform/linux/XcbDesktop.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace kivo {

// Keystrokes through the X server's XTest extension, on a connection of their own. Only printable ASCII
// is ever typed: a URL is first put in that form (the host in punycode, everything else percent-
// encoded), and a character that the keymap has no key for fails the call before any key goes out.
// Ctrl stands in for the other desktop's command key. The focus is the process of the active window.
class LinuxKeystrokeSink final : public KeystrokeSink {
public:
    // Posts nothing when `desktop` is none.
    explicit LinuxKeystrokeSink(std::unique_ptr<XcbDesktop> desktop);

    std::optional<int> keyboardFocusProcess() override;
    std::optional<std::string> keyboardText(const std::string& url) override;
    bool focusAddressField() override;
    bool selectAll() override;
    bool typeText(const std::string& text) override;
    bool pressReturn() override;
    bool pressDelete() override;

    // The URL's ASCII form: none when it holds a control character or a host that is no valid
    // internationalised name.
    static std::optional<std::string> asciiURL(const std::string& url);

private:
    struct Stroke {
        xcb_keycode_t key = 0;
        bool shift = false;
    };
    std::optional<Stroke> strokeFor(std::uint32_t keysym);
    bool send(const std::vector<Stroke>& strokes, bool control);
    bool loadKeymap();

    std::unique_ptr<XcbDesktop> desktop_;
    std::mutex mutex_;
    std::vector<xcb_keysym_t> keysyms_;
    int keysymsPerKeycode_ = 0;
    xcb_keycode_t minKeycode_ = 0;
    xcb_keycode_t shiftKey_ = 0;
    xcb_keycode_t controlKey_ = 0;
};

} // namespace kivo
