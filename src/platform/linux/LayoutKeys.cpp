#include "platform/linux/LayoutKeys.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace kivo {
namespace {

// X keycodes end at 255, whatever the keymap names beyond.
constexpr xkb_keycode_t kMinKeycode = 8;
constexpr xkb_keycode_t kMaxKeycode = 255;

struct Snapshot {
    xkb_mod_mask_t depressed = 0;
    xkb_mod_mask_t latched = 0;
    xkb_mod_mask_t locked = 0;
    xkb_layout_index_t layoutDepressed = 0;
    xkb_layout_index_t layoutLatched = 0;
    xkb_layout_index_t layoutLocked = 0;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(xkb_state* state) {
    return {xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
            xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
            xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
            xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_DEPRESSED),
            xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_LATCHED),
            xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_LOCKED)};
}

// A keyboard with nothing held or locked, on `group`, as the server's is when a key goes out.
class Replay {
public:
    Replay(xkb_keymap* keymap, xkb_layout_index_t group) : state_(xkb_state_new(keymap)) {
        if (state_) {
            xkb_state_update_mask(state_, 0, 0, 0, 0, 0, group);
            before_ = snapshot(state_);
        }
    }
    ~Replay() { xkb_state_unref(state_); }
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    bool valid() const { return state_ != nullptr; }
    xkb_state* state() const { return state_; }
    void hold(const std::vector<xkb_keycode_t>& keys) {
        for (const auto key : keys) {
            xkb_state_update_key(state_, key, XKB_KEY_DOWN);
        }
    }
    void letGo(const std::vector<xkb_keycode_t>& keys) {
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
            xkb_state_update_key(state_, *it, XKB_KEY_UP);
        }
    }
    void tap(xkb_keycode_t key) {
        xkb_state_update_key(state_, key, XKB_KEY_DOWN);
        xkb_state_update_key(state_, key, XKB_KEY_UP);
    }
    bool restored() const { return snapshot(state_) == before_; }

private:
    xkb_state* state_;
    Snapshot before_;
};

struct KeySyms {
    xkb_keycode_t key = 0;
    std::vector<xkb_keysym_t> syms; // one per level of the key's layout on the group
};

std::vector<KeySyms> keysOf(xkb_keymap* keymap, xkb_layout_index_t group) {
    std::vector<KeySyms> keys;
    Replay base(keymap, group);
    if (!base.valid()) {
        return keys;
    }
    const xkb_keycode_t first = std::max(xkb_keymap_min_keycode(keymap), kMinKeycode);
    const xkb_keycode_t last = std::min(xkb_keymap_max_keycode(keymap), kMaxKeycode);
    for (xkb_keycode_t key = first; key <= last; ++key) {
        const xkb_layout_index_t layout = xkb_state_key_get_layout(base.state(), key);
        if (layout == XKB_LAYOUT_INVALID) {
            continue;
        }
        KeySyms entry{key, {}};
        const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap, key, layout);
        for (xkb_level_index_t level = 0; level < levels; ++level) {
            const xkb_keysym_t* syms = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(keymap, key, layout, level, &syms);
            entry.syms.push_back(count == 1 ? syms[0] : XKB_KEY_NoSymbol);
        }
        keys.push_back(std::move(entry));
    }
    return keys;
}

// The first key whose first level is one of `keysyms` and that, held, turns the modifier `modifier` on
// (any modifier when none is named) and leaves the state as it was once let go.
xkb_keycode_t modifierKey(xkb_keymap* keymap, xkb_layout_index_t group, const std::vector<KeySyms>& keys,
                          std::initializer_list<xkb_keysym_t> keysyms, const char* modifier) {
    for (const auto keysym : keysyms) {
        for (const auto& entry : keys) {
            if (entry.syms.empty() || entry.syms.front() != keysym) {
                continue;
            }
            Replay replay(keymap, group);
            if (!replay.valid()) {
                return 0;
            }
            const xkb_mod_mask_t before = xkb_state_serialize_mods(replay.state(), XKB_STATE_MODS_EFFECTIVE);
            replay.hold({entry.key});
            const bool on =
                modifier
                    ? xkb_state_mod_name_is_active(replay.state(), modifier, XKB_STATE_MODS_EFFECTIVE) > 0
                    : xkb_state_serialize_mods(replay.state(), XKB_STATE_MODS_EFFECTIVE) != before;
            replay.letGo({entry.key});
            if (on && replay.restored()) {
                return entry.key;
            }
        }
    }
    return 0;
}

// The key that gives `keysym` with `modifiers` held: the lowest keycode that has the keysym on some level
// and really gives it when replayed.
std::optional<LayoutKeys::Stroke> strokeWith(xkb_keymap* keymap, xkb_layout_index_t group,
                                             const std::vector<KeySyms>& keys, xkb_keysym_t keysym,
                                             const std::vector<xkb_keycode_t>& modifiers) {
    for (const auto& entry : keys) {
        if (std::find(entry.syms.begin(), entry.syms.end(), keysym) == entry.syms.end()) {
            continue;
        }
        Replay replay(keymap, group);
        if (!replay.valid()) {
            return std::nullopt;
        }
        replay.hold(modifiers);
        const bool gives = xkb_state_key_get_one_sym(replay.state(), entry.key) == keysym;
        const xkb_level_index_t level = xkb_state_key_get_level(
            replay.state(), entry.key, xkb_state_key_get_layout(replay.state(), entry.key));
        replay.tap(entry.key);
        replay.letGo(modifiers);
        if (gives && replay.restored()) {
            return LayoutKeys::Stroke{entry.key, level, false, false};
        }
    }
    return std::nullopt;
}

bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Which part of an address each character stands in, for what may be percent-encoded there.
enum class Part { fixed, userInfo, path, query, fragment };

std::vector<Part> partsOf(const std::string& address) {
    std::vector<Part> parts(address.size(), Part::path);
    std::size_t i = 0;
    // The scheme and its colon.
    const auto colon = address.find(':');
    const bool scheme =
        colon != std::string::npos && colon > 0 && std::isalpha(static_cast<unsigned char>(address[0])) &&
        std::all_of(address.begin(), address.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
        });
    if (scheme) {
        i = colon + 1;
        std::fill(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(i), Part::fixed);
    }
    // The authority: user information (encodable), then "@", the host and the port (never).
    if (address.compare(i, 2, "//") == 0) {
        const std::size_t start = i + 2;
        std::size_t end = address.find_first_of("/?#", start);
        end = end == std::string::npos ? address.size() : end;
        const auto at = address.rfind('@', end - 1);
        const std::size_t host = at != std::string::npos && at >= start ? at + 1 : start;
        std::fill(parts.begin() + static_cast<std::ptrdiff_t>(i),
                  parts.begin() + static_cast<std::ptrdiff_t>(end), Part::fixed);
        std::fill(parts.begin() + static_cast<std::ptrdiff_t>(start),
                  parts.begin() + static_cast<std::ptrdiff_t>(host == start ? start : host - 1),
                  Part::userInfo);
        i = end;
    }
    Part part = Part::path;
    for (; i < address.size(); ++i) {
        const char c = address[i];
        if (c == '?' && part == Part::path) {
            part = Part::query;
            parts[i] = Part::fixed;
        } else if (c == '#' && part != Part::fragment) {
            part = Part::fragment;
            parts[i] = Part::fixed;
        } else {
            parts[i] = part;
        }
    }
    // An escape already in the address stays as it is.
    for (std::size_t j = 0; j + 2 < address.size(); ++j) {
        if (address[j] == '%' && isHex(address[j + 1]) && isHex(address[j + 2])) {
            parts[j + 1] = parts[j + 2] = Part::fixed;
        }
    }
    return parts;
}

// Whether `c` may stand as %XX in `part` and still mean the same to a server: never '%' itself, nor a
// delimiter of that part ('/' in a path, which a browser also reads '\' as; '&', '=', '+', ';' in a
// query or fragment; ':' in the user information).
bool encodable(Part part, char c) {
    if (c == '%') {
        return false;
    }
    switch (part) {
    case Part::fixed:
        return false;
    case Part::userInfo:
        return c != ':';
    case Part::path:
        return std::strchr("/\\;", c) == nullptr;
    case Part::query:
    case Part::fragment:
        return std::strchr("&=+;", c) == nullptr;
    }
    return false;
}

} // namespace

LayoutKeys::LayoutKeys(xkb_keymap* keymap, xkb_layout_index_t group) : group_(group) {
    if (!keymap) {
        return;
    }
    const auto keys = keysOf(keymap, group);
    shiftKey_ = modifierKey(keymap, group, keys, {XKB_KEY_Shift_L, XKB_KEY_Shift_R}, XKB_MOD_NAME_SHIFT);
    levelThreeKey_ = modifierKey(keymap, group, keys, {XKB_KEY_ISO_Level3_Shift}, nullptr);
    controlKey_ = modifierKey(keymap, group, keys, {XKB_KEY_Control_L, XKB_KEY_Control_R}, XKB_MOD_NAME_CTRL);

    // Fewest modifier keys first: a letter is typed as itself, not with Shift.
    struct Held {
        std::vector<xkb_keycode_t> keys;
        bool shift;
        bool levelThree;
    };
    std::vector<Held> held{{{}, false, false}};
    if (shiftKey_) {
        held.push_back({{shiftKey_}, true, false});
    }
    if (levelThreeKey_) {
        held.push_back({{levelThreeKey_}, false, true});
    }
    if (levelThreeKey_ && shiftKey_) {
        held.push_back({{levelThreeKey_, shiftKey_}, true, true});
    }
    const auto find = [&](xkb_keysym_t keysym) -> std::optional<Stroke> {
        for (const auto& h : held) {
            if (auto stroke = strokeWith(keymap, group, keys, keysym, h.keys)) {
                stroke->shift = h.shift;
                stroke->levelThree = h.levelThree;
                return stroke;
            }
        }
        return std::nullopt;
    };
    for (xkb_keysym_t c = 0x20; c < 0x7f; ++c) {
        ascii_[c] = find(c); // printable ASCII keysyms are the characters' own codes
    }
    return_ = find(XKB_KEY_Return);
    delete_ = find(XKB_KEY_Delete);
    escape_ = find(XKB_KEY_Escape);
    if (controlKey_) {
        for (xkb_keysym_t c = 'a'; c <= 'z'; ++c) {
            shortcuts_[c - 'a'] = strokeWith(keymap, group, keys, c, {controlKey_});
        }
    }
}

std::optional<LayoutKeys::Stroke> LayoutKeys::stroke(xkb_keysym_t keysym) const {
    if (keysym >= 0x20 && keysym < 0x7f) {
        return ascii_[keysym];
    }
    if (keysym == XKB_KEY_Return) {
        return return_;
    }
    if (keysym == XKB_KEY_Delete) {
        return delete_;
    }
    if (keysym == XKB_KEY_Escape) {
        return escape_;
    }
    return std::nullopt;
}

std::optional<LayoutKeys::Stroke> LayoutKeys::shortcut(xkb_keysym_t keysym) const {
    if (keysym < 'a' || keysym > 'z') {
        return std::nullopt;
    }
    return shortcuts_[keysym - 'a'];
}

std::optional<std::string> LayoutKeys::keyboardText(const std::string& address) const {
    static const char* hex = "0123456789ABCDEF";
    const auto typable = [&](char c) {
        return static_cast<unsigned char>(c) < 0x80 && stroke(c).has_value();
    };
    const auto parts = partsOf(address);
    std::string out;
    out.reserve(address.size() + 16);
    for (std::size_t i = 0; i < address.size(); ++i) {
        const char c = address[i];
        if (typable(c)) {
            out += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        const char escape[] = {'%', hex[byte >> 4], hex[byte & 0xf]};
        if (byte >= 0x80 || !encodable(parts[i], c) ||
            !std::all_of(std::begin(escape), std::end(escape), typable)) {
            return std::nullopt;
        }
        out.append(escape, 3);
    }
    return out;
}

} // namespace kivo
