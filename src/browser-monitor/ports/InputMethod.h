#pragma once

#include "browser-monitor/ports/WindowHandle.h"

#include <string>

namespace kivo {

// What became of a request to let the keys through as plain keyboard input.
struct PlainTyping {
    enum class Kind {
        none,     // no input method stands between the keys and the browser: nothing was asked or changed
        plain,    // an input method takes the keys, but its engine and mode already type them as they are
        switched, // the input method was put into plain keyboard input; `InputMethod::restore` puts it back
        unusable, // an input method takes the keys and could not be put into plain input, or not proven to be
        unfocused, // an input method takes the keys but has not been told yet that the field has the focus,
                   // so it cannot be reached for it: nothing was changed. The browser tells it when the
                   // shortcut puts the focus into the field again.
    };
    Kind kind = Kind::none;
    // With `unusable` and `unfocused`: why, as a fixed English phrase for the log ("not read back").
    std::string why;

    bool operator==(const PlainTyping&) const = default;
};

// The input method (an IBus or Fcitx engine) a browser's keys go through before they reach its address
// field. It can drop a key, compose, convert or swallow what is typed, and a Return may only commit a
// composition; so for Kivo's own typing it is put into plain keyboard input, and the user's engine and mode
// are given back on every way out. Calls run on a worker thread, one typing at a time.
class InputMethod {
public:
    virtual ~InputMethod() = default;

    // Called while the address field of `window`, a window of browser process `processId`, is proven to
    // hold the keyboard focus. Reads back what it set before it says `switched`.
    virtual PlainTyping typePlain(int processId, WindowHandle window) = 0;
    // Gives back the engine and mode the user had before the last `switched`; nothing otherwise. False when
    // that could not be done (it is tried again at the next start).
    virtual bool restore() = 0;
};

} // namespace kivo
