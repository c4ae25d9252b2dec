#pragma once

#include "browser-monitor/ports/KeystrokeResult.h"
#include "browser-monitor/ports/WindowHandle.h"

#include <optional>
#include <string>

namespace kivo {

// Synthesised keystrokes, in the five groups a browser redirect needs, each aimed at one window. Before
// every key the back end proves, with nothing able to come in between, that the key lands in that window:
// the keyboard focus is inside it, no other program holds the keyboard, no modifier is held. Lock keys
// are neutralised for the keys sent and restored as they were. The back end chooses the platform's keys
// (the address-field and select-all shortcuts). Calls run on a worker thread.
class KeystrokeSink {
public:
    virtual ~KeystrokeSink() = default;

    // Whether keys sent now would reach the window: it has the keyboard focus and nothing grabs the keyboard.
    virtual bool hasKeyboardFocus(WindowHandle window) = 0;

    // The URL as this keyboard types it in its current layout: the same address in characters the keyboard
    // can type (a back end that types only ASCII gives the host in punycode and percent-encodes the rest);
    // none when it cannot be typed at all. Typing the result and reading the field back gives exactly this.
    virtual std::optional<std::string> keyboardText(const std::string& url) = 0;

    virtual KeystrokeResult focusAddressField(WindowHandle window) = 0;
    virtual KeystrokeResult selectAll(WindowHandle window) = 0;
    // The whole text in one call, sent without pausing; it stops at the first key that cannot be proven.
    virtual KeystrokeResult typeText(WindowHandle window, const std::string& text) = 0;
    virtual KeystrokeResult pressReturn(WindowHandle window) = 0;
    // Removes the selection after the caret (a suggestion the browser completed the typed text with).
    virtual KeystrokeResult pressDelete(WindowHandle window) = 0;
    // Escape: the address field gives up what was typed into it and shows the page's own address again.
    virtual KeystrokeResult pressEscape(WindowHandle window) = 0;
};

} // namespace kivo
