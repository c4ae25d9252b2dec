#pragma once

#include <optional>
#include <string>

namespace kivo {

// Synthesised keystrokes, in the four groups a browser redirect needs; each group goes to whichever
// application has the keyboard focus, so the caller checks the focus right before each one. The back end
// chooses the platform's keys (the address-field and select-all shortcuts). Calls run on a worker thread.
// Each call returns false when the events could not be made or posted.
class KeystrokeSink {
public:
    virtual ~KeystrokeSink() = default;

    // The process that currently has the keyboard focus; none when it cannot be told.
    virtual std::optional<int> keyboardFocusProcess() = 0;

    virtual bool focusAddressField() = 0;
    virtual bool selectAll() = 0;
    // The URL as this keyboard types it: the same address in characters the keyboard can type (a
    // back end that types only ASCII gives the host in punycode and percent-encodes the rest); none when
    // it cannot be typed at all. Typing the result and reading the field back gives exactly this text.
    virtual std::optional<std::string> keyboardText(const std::string& url) = 0;

    // The whole text in one call, however long: one keyboard event where the platform allows it, else
    // one burst of events sent without pausing.
    virtual bool typeText(const std::string& text) = 0;
    virtual bool pressReturn() = 0;
    // Removes the selection after the caret (a suggestion the browser completed the typed text with).
    virtual bool pressDelete() = 0;
};

} // namespace kivo
