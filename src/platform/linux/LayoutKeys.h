#pragma once

#include <xkbcommon/xkbcommon.h>

#include <array>
#include <optional>
#include <string>

namespace kivo {

// The keys that type each character on one group (layout) of an XKB keymap, worked out without a display
// so that every look-up is done before a key goes out. A character comes from the level that takes the
// fewest modifier keys: none, Shift, the layout's own third-level key (AltGr), or both. Each choice is
// replayed on a keyboard state first: a key is chosen only when pressing it with those modifiers gives
// exactly that keysym and leaves nothing latched or locked behind. A dead key (dead_tilde) is not its
// character and is never chosen.
class LayoutKeys {
public:
    struct Stroke {
        xkb_keycode_t key = 0;
        xkb_level_index_t level = 0;
        bool shift = false;
        bool levelThree = false;
        bool operator==(const Stroke&) const = default;
    };

    LayoutKeys(xkb_keymap* keymap, xkb_layout_index_t group);

    // The layout the keys were found on (a keymap may have several).
    xkb_layout_index_t group() const { return group_; }
    // A printable ASCII character, Return or Delete.
    std::optional<Stroke> stroke(xkb_keysym_t keysym) const;
    // A lowercase letter under Ctrl, as a shortcut takes it: on the level that Ctrl alone gives.
    std::optional<Stroke> shortcut(xkb_keysym_t keysym) const;
    // The modifier keys pressed around a stroke; 0 when the layout has none.
    xkb_keycode_t shiftKey() const { return shiftKey_; }
    xkb_keycode_t levelThreeKey() const { return levelThreeKey_; }
    xkb_keycode_t controlKey() const { return controlKey_; }

    // A printable ASCII address as this layout types it. A character that no level of the group has is
    // percent-encoded where that keeps the address (after the host and port, and never a delimiter of the
    // part it stands in); none when such a character, or '%' and the hex digits, cannot be typed.
    std::optional<std::string> keyboardText(const std::string& address) const;

    // The same keys for every character and modifier: a keymap replaced by an equal one types the same.
    bool operator==(const LayoutKeys&) const = default;

private:
    xkb_layout_index_t group_ = 0;
    xkb_keycode_t shiftKey_ = 0;
    xkb_keycode_t levelThreeKey_ = 0;
    xkb_keycode_t controlKey_ = 0;
    std::array<std::optional<Stroke>, 128> ascii_{};
    std::array<std::optional<Stroke>, 26> shortcuts_{};
    std::optional<Stroke> return_;
    std::optional<Stroke> delete_;
    std::optional<Stroke> escape_;
};

} // namespace kivo
