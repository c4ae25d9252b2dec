// Addresses are typed on the layout in use, AltGr characters included, and a keymap replaced while a
// text is being typed stops the typing at once.
//
// A keymap change keeps the browsers busy for a while: these suites run after all others (the file sorts
// last, and parameterized suites run after plain ones), and each waits for the browsers to settle.
#include "RealDesktop.h"

#include <thread>

namespace kivo {
namespace {

using test::desktop;

// The layout for one test (none: the one in use); the US layout comes back after it, and the browsers
// have taken it in before the next test.
class Layout {
public:
    explicit Layout(const char* name = nullptr) : set(!name || QProcess::execute("setxkbmap", {name}) == 0) {}
    ~Layout() {
        QProcess::execute("setxkbmap", {"us"});
        desktop->waitUntilBrowsersSettle();
    }
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;
    const bool set;
};

struct LayoutCase {
    const char* layout;
    const char* browser;
    std::string bundleId;
    friend void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.layout << " in " << c.browser; }
};

class KeyboardLayoutsTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(KeyboardLayoutsTest, AnAddressWithAltGrCharactersLandsExactly) {
    const auto& param = GetParam();
    ASSERT_TRUE(desktop && desktop->pid(param.bundleId)) << "browser not running";
    const std::string suffix = std::string(param.layout) + "-" + param.browser;
    const std::string target = desktop->server.url("/@kivo/~user-" + suffix);
    test::RedirectGroup redirect("/layout-" + suffix + "/", target);
    Layout layout(param.layout);
    ASSERT_TRUE(layout.set);
    test::MonitorRun monitor;
    desktop->openWindow(param.bundleId, desktop->server.url("/layout-" + suffix + "/page"));
    EXPECT_TRUE(test::waitUntil(
        [&] {
            const auto pages = desktop->shown(param.bundleId);
            return std::find(pages.begin(), pages.end(), target) != pages.end();
        },
        test::kDeadline));
    const auto& requests = desktop->server.requests();
    EXPECT_NE(std::find(requests.begin(), requests.end(), "/@kivo/~user-" + suffix), requests.end());
}

INSTANTIATE_TEST_SUITE_P(Layouts, KeyboardLayoutsTest,
                         ::testing::Values(LayoutCase{"de", "chromium", test::kChrome},
                                           LayoutCase{"fr", "firefox", test::kFirefox}),
                         [](const auto& info) {
                             return std::string(info.param.layout) + "_" + info.param.browser;
                         });

enum class Replacement { keySymbols, setxkbmap };

class KeymapReplacedTest : public ::testing::TestWithParam<Replacement> {
protected:
    void replace() {
        if (GetParam() == Replacement::setxkbmap) {
            QProcess::execute("setxkbmap", {"de"});
            return;
        }
        // One request: the key that gave y now gives z.
        xcb_connection_t* c = replacer_->connection();
        const xcb_keysym_t syms[] = {'z', 'Z'};
        xcb_change_keyboard_mapping(c, 1, *test::keycodeOf(c, 'y'), 2, syms);
        test::roundTrip(c);
    }

private:
    std::unique_ptr<XcbDesktop> replacer_ = XcbDesktop::connect();
};

TEST_P(KeymapReplacedTest, TypingStopsAtTheFirstKeyAfterTheKeymapIsReplaced) {
    // Long enough to outlast setxkbmap, which takes a tenth of a second or more, and several seconds on a
    // busy machine while keys go out: once the keymap is replaced the typing stops, so only code that
    // types on takes long.
    std::string text;
    while (text.size() < 200000) {
        text += "abcdefghijklmnopqrstuvwxyz0123456789/";
    }
    const Layout us;
    const auto x = XcbDesktop::connect();
    test::NotesWindow notes(*x);
    ASSERT_TRUE(desktop->activate(notes.id()));
    LinuxKeystrokeSink sink(XcbDesktop::connect());
    ASSERT_TRUE(test::waitUntil([&] { return sink.hasKeyboardFocus(notes.id()); }, test::kDeadline));
    KeystrokeResult result = KeystrokeResult::sent;
    std::thread typing([&] { result = sink.typeText(notes.id(), text); });
    const bool underWay = test::waitUntil([&] { return notes.keyEvents() >= 40; }, test::kDeadline);
    if (underWay) {
        replace();
    }
    typing.join();
    ASSERT_TRUE(underWay);
    // Every key event meant for the window has reached it by the time this is answered.
    test::roundTrip(x->connection());
    EXPECT_EQ(result, KeystrokeResult::untypable);
    const auto before = notes.keyEventsBeforeKeymapChange();
    ASSERT_TRUE(before);
    EXPECT_GT(*before, 0);
    EXPECT_LT(*before, static_cast<int>(text.size()) * 2); // replaced mid-text
    EXPECT_EQ(notes.keyEvents(), *before);
}

INSTANTIATE_TEST_SUITE_P(Replacements, KeymapReplacedTest,
                         ::testing::Values(Replacement::keySymbols, Replacement::setxkbmap),
                         [](const auto& info) {
                             return info.param == Replacement::setxkbmap ? "setxkbmap" : "keySymbols";
                         });

} // namespace
} // namespace kivo
