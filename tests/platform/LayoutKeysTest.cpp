// Which keys type an address on real keyboard layouts, compiled from the system's XKB data: no display.
#include "platform/linux/LayoutKeys.h"

#include <gtest/gtest.h>

#include <memory>

namespace kivo {
namespace {

struct Keymap {
    explicit Keymap(const char* layout) {
        const xkb_rule_names names{"evdev", "pc105", layout, "", ""};
        keymap = xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    }
    ~Keymap() { xkb_keymap_unref(keymap); }
    std::unique_ptr<xkb_context, decltype(&xkb_context_unref)> context{xkb_context_new(XKB_CONTEXT_NO_FLAGS),
                                                                       &xkb_context_unref};
    xkb_keymap* keymap = nullptr;
};

// "AD01/3/AltGr": the key's name, the level (from 1) and the modifier keys held; "-" for no key.
std::string describe(xkb_keymap* keymap, const std::optional<LayoutKeys::Stroke>& stroke) {
    if (!stroke) {
        return "-";
    }
    std::string out = xkb_keymap_key_get_name(keymap, stroke->key);
    out += "/" + std::to_string(stroke->level + 1);
    out += stroke->levelThree ? "/AltGr" : "";
    out += stroke->shift ? "/Shift" : "";
    return out;
}

TEST(LayoutKeysTest, EveryCharacterOfAnAddressIsFoundOnTheLevelThatTakesTheFewestModifiers) {
    const std::string characters = "@~{}[]\\|/:?#&=%la";
    struct Case {
        const char* layout;
        xkb_layout_index_t group;
        std::vector<std::string> strokes; // one per character above
        std::string controlL;             // Ctrl+L
    } cases[] = {
        {"us",
         0,
         {"AE02/2/Shift", "TLDE/2/Shift", "AD11/2/Shift", "AD12/2/Shift", "AD11/1", "AD12/1", "BKSL/1",
          "BKSL/2/Shift", "AB10/1", "AC10/2/Shift", "AB10/2/Shift", "AE03/2/Shift", "AE07/2/Shift", "AE12/1",
          "AE05/2/Shift", "AC09/1", "AC01/1"},
         "AC09/1"},
        // AltGr for @ ~ { } [ ] \ |; ^ and ` are dead keys only (not among these).
        {"de",
         0,
         {"AD01/3/AltGr", "AD12/3/AltGr", "AE07/3/AltGr", "AE10/3/AltGr", "AE08/3/AltGr", "AE09/3/AltGr",
          "AE11/3/AltGr", "LSGT/3/AltGr", "AE07/2/Shift", "AB09/2/Shift", "AE11/2/Shift", "BKSL/1",
          "AE06/2/Shift", "AE10/2/Shift", "AE05/2/Shift", "AC09/1", "AC01/1"},
         "AC09/1"},
        {"fr",
         0,
         {"AE10/3/AltGr", "TLDE/2/Shift", "AE04/3/AltGr", "AE12/3/AltGr", "AE05/3/AltGr", "AE11/3/AltGr",
          "AE08/3/AltGr", "AE06/3/AltGr", "AB09/2/Shift", "AB09/1", "AB07/2/Shift", "AE03/3/AltGr", "AE01/1",
          "AE12/1", "AC11/2/Shift", "AC09/1", "AD01/1"},
         "AC09/1"},
        {"es",
         0,
         {"AE02/3/AltGr", "AE04/3/AltGr", "AE07/3/AltGr", "AE10/3/AltGr", "AE08/3/AltGr", "AE09/3/AltGr",
          "AE11/3/AltGr", "AE01/3/AltGr", "AE07/2/Shift", "AB09/2/Shift", "AE11/2/Shift", "AE03/3/AltGr",
          "AE06/2/Shift", "AE10/2/Shift", "AE05/2/Shift", "AC09/1", "AC01/1"},
         "AC09/1"},
        {"it",
         0,
         {"AD01/3/AltGr", "AE12/3/AltGr", "AE07/3/AltGr", "AE10/3/AltGr", "AE08/3/AltGr", "AE09/3/AltGr",
          "TLDE/1", "TLDE/2/Shift", "AE07/2/Shift", "AB09/2/Shift", "AE11/2/Shift", "AC11/3/AltGr",
          "AE06/2/Shift", "AE10/2/Shift", "AE05/2/Shift", "AC09/1", "AC01/1"},
         "AC09/1"},
        // ~ is a dead key only.
        {"se",
         0,
         {"AE02/3/AltGr", "-", "AE07/3/AltGr", "AE10/3/AltGr", "AE08/3/AltGr", "AE09/3/AltGr", "AE11/3/AltGr",
          "LSGT/3/AltGr", "AE07/2/Shift", "AB09/2/Shift", "AE11/2/Shift", "AE03/2/Shift", "AE06/2/Shift",
          "AE10/2/Shift", "AE05/2/Shift", "AC09/1", "AC01/1"},
         "AC09/1"},
        // No Latin letters at all, so no Ctrl+L either.
        {"ru",
         0,
         {"-", "-", "-", "-", "-", "-", "BKSL/1", "LSGT/2/Shift", "LSGT/1", "AE06/2/Shift", "AE07/2/Shift",
          "-", "-", "AE12/1", "AE05/2/Shift", "-", "-"},
         "-"},
        // The second layout of two, as a group switch leaves it.
        {"us,de",
         1,
         {"AD01/3/AltGr", "AD12/3/AltGr", "AE07/3/AltGr", "AE10/3/AltGr", "AE08/3/AltGr", "AE09/3/AltGr",
          "AE11/3/AltGr", "LSGT/3/AltGr", "AE07/2/Shift", "AB09/2/Shift", "AE11/2/Shift", "BKSL/1",
          "AE06/2/Shift", "AE10/2/Shift", "AE05/2/Shift", "AC09/1", "AC01/1"},
         "AC09/1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        Keymap keymap(c.layout);
        ASSERT_TRUE(keymap.keymap);
        const LayoutKeys keys(keymap.keymap, c.group);
        std::vector<std::string> got;
        for (const char ch : characters) {
            got.push_back(describe(keymap.keymap, keys.stroke(static_cast<xkb_keysym_t>(ch))));
        }
        EXPECT_EQ(got, c.strokes);
        EXPECT_EQ(describe(keymap.keymap, keys.shortcut('l')), c.controlL);
        EXPECT_TRUE(keys.stroke(XKB_KEY_Return));
    }
}

TEST(LayoutKeysTest, AnAddressIsTypedAsTheLayoutAllowsOrNotAtAll) {
    const std::string shield = "http://127.0.0.1:8000/shield?blocked=http%3A%2F%2Fexample.com%2F%40name";
    struct Case {
        const char* layout;
        std::string address;
        std::optional<std::string> typed;
    } cases[] = {
        {"us", "http://example.com/@name/~user?q={a}|[b]\\c#top",
         "http://example.com/@name/~user?q={a}|[b]\\c#top"},
        {"de", "http://127.0.0.1:8000/@kivo/~user", "http://127.0.0.1:8000/@kivo/~user"},
        {"fr", "http://127.0.0.1:8000/@kivo/~user", "http://127.0.0.1:8000/@kivo/~user"},
        {"es", "http://127.0.0.1:8000/@kivo/~user", "http://127.0.0.1:8000/@kivo/~user"},
        {"it", "http://127.0.0.1:8000/@kivo/~user", "http://127.0.0.1:8000/@kivo/~user"},
        {"de", shield, shield},
        // Only dead keys: percent-encoded in the path, query, fragment and user information.
        {"se", "http://127.0.0.1:8000/@kivo/~user", "http://127.0.0.1:8000/@kivo/%7Euser"},
        {"se", "http://a~b@example.com/p?q=~#~", "http://a%7Eb@example.com/p?q=%7E#%7E"},
        {"de", "http://example.com/a^b`c", "http://example.com/a%5Eb%60c"},
        {"de", "http://example.com/a%5Eb", "http://example.com/a%5Eb"},
        // Never in the scheme or host.
        {"se", "http://ex~ample.com/", std::nullopt},
        {"ru", "http://example.com/", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " " + c.address);
        Keymap keymap(c.layout);
        ASSERT_TRUE(keymap.keymap);
        EXPECT_EQ(LayoutKeys(keymap.keymap, 0).keyboardText(c.address), c.typed);
    }
}

} // namespace
} // namespace kivo
