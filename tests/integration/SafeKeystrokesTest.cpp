// Keys Kivo types into real browsers land only in the address field of the window being redirected: not
// in a screen locker, not with the user's modifiers or lock keys, not into a page's own field, not into
// another window however fast the user switches; and a redirect to a slow page is typed once.
#include "RealDesktop.h"

#include <xcb/xtest.h>

#include <atomic>
#include <thread>

namespace kivo {
namespace {

using namespace std::chrono_literals;
using test::desktop;

// The user's own keyboard, on a connection of its own.
class UserKeyboard {
public:
    void press(xcb_keysym_t keysym, bool down) {
        xcb_connection_t* c = x_->connection();
        xcb_test_fake_input(c, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, *test::keycodeOf(c, keysym),
                            XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }
    void tap(xcb_keysym_t keysym) {
        press(keysym, true);
        press(keysym, false);
    }
    // The Caps Lock LED, as the server keeps it.
    bool capsLock() {
        xcb_connection_t* c = x_->connection();
        xcb_get_keyboard_control_reply_t* control =
            xcb_get_keyboard_control_reply(c, xcb_get_keyboard_control(c), nullptr);
        const bool on = control && (control->led_mask & 1u);
        std::free(control);
        return on;
    }

private:
    std::unique_ptr<XcbDesktop> x_ = XcbDesktop::connect();
};

// A screen locker: an override-redirect window that holds the keyboard and counts the keys it receives.
class Locker {
public:
    Locker() {
        xcb_connection_t* c = x_->connection();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        window_ = xcb_generate_id(c);
        const std::uint32_t values[] = {1, XCB_EVENT_MASK_KEY_PRESS};
        // Small: a browser covered entirely would stop drawing its pages.
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
        xcb_map_window(c, window_);
        xcb_flush(c);
        grabbed = test::waitUntil(
            [&] {
                xcb_grab_keyboard_reply_t* reply =
                    xcb_grab_keyboard_reply(c,
                                            xcb_grab_keyboard(c, 0, window_, XCB_CURRENT_TIME,
                                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                            nullptr);
                const bool ok = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
                std::free(reply);
                return ok;
            },
            test::kDeadline);
    }
    ~Locker() { unlock(); }
    int keys() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x_->connection())) {
            keys_ += (event->response_type & 0x7f) == XCB_KEY_PRESS;
            std::free(event);
        }
        return keys_;
    }
    void unlock() {
        xcb_connection_t* c = x_->connection();
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_destroy_window(c, window_);
        xcb_flush(c);
    }
    bool grabbed = false;

private:
    std::unique_ptr<XcbDesktop> x_ = XcbDesktop::connect();
    xcb_window_t window_ = 0;
    int keys_ = 0;
};

class SafeKeystrokesTest : public ::testing::TestWithParam<test::BrowserCase> {
protected:
    void SetUp() override { ASSERT_TRUE(desktop && desktop->pid(id())) << "browser not running"; }
    std::string id() const { return GetParam().bundleId; }
    std::string page(const std::string& path) const {
        return desktop->server.url(path + "-" + GetParam().name);
    }
    bool landedFrom(const std::string& blocked) { return desktop->landedFrom(id(), blocked); }
};

TEST_P(SafeKeystrokesTest, ALockerHoldingTheKeyboardGetsNoKeyAndThePageIsRedirectedOnceItGoes) {
    Locker locker;
    ASSERT_TRUE(locker.grabbed);
    test::MonitorRun monitor;
    const std::string blocked = page("/blocked/locked");
    desktop->openWindow(id(), blocked);
    ASSERT_TRUE(monitor.morePasses(2));
    EXPECT_EQ(locker.keys(), 0);
    EXPECT_TRUE(desktop->shows(id(), blocked));
    locker.unlock();
    EXPECT_TRUE(test::waitUntil([&] { return landedFrom(blocked); }, test::kDeadline));
}

TEST_P(SafeKeystrokesTest, AHeldShiftTypesNothingAndCapsLockChangesNoLetterAndStaysOn) {
    UserKeyboard keyboard;
    test::MonitorRun monitor;
    const std::string shifted = page("/blocked/MiXeD-Shift");
    keyboard.press(0xffe1, true); // Shift_L held
    desktop->openWindow(id(), shifted);
    ASSERT_TRUE(monitor.morePasses(2));
    EXPECT_TRUE(desktop->shows(id(), shifted));
    keyboard.press(0xffe1, false);
    EXPECT_TRUE(test::waitUntil([&] { return landedFrom(shifted); }, test::kDeadline));

    keyboard.tap(0xffe5); // Caps_Lock
    ASSERT_TRUE(keyboard.capsLock());
    const std::string caps = page("/blocked/MiXeD-Caps");
    desktop->openWindow(id(), caps);
    // Exactly: no letter changed case.
    EXPECT_TRUE(test::waitUntil([&] { return landedFrom(caps); }, test::kDeadline));
    EXPECT_TRUE(keyboard.capsLock());
    keyboard.tap(0xffe5);
    EXPECT_FALSE(keyboard.capsLock());
}

TEST_P(SafeKeystrokesTest, ARedirectToASlowPageIsTypedOnceAndLands) {
    test::MonitorRun monitor;
    const std::string blocked = page("/slowblock/page");
    desktop->openWindow(id(), blocked);
    ASSERT_TRUE(test::waitUntil([&] { return landedFrom(blocked); }, test::kDeadline));
    ASSERT_TRUE(monitor.morePasses(1));
    const auto& requests = desktop->server.requests();
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [&](const std::string& r) {
                                return r.rfind("/slow/landing", 0) == 0 &&
                                       r.find(GetParam().name) != std::string::npos &&
                                       r.find("slowblock") != std::string::npos;
                            }),
              1);
}

TEST_P(SafeKeystrokesTest, BurstsOfWindowSwitchesLandNoKeyInAnotherWindow) {
    test::MonitorRun monitor;
    const int notesKeys = desktop->notes->keyEvents();
    const std::string blocked = page("/blocked/switching");
    const xcb_window_t browser = desktop->openFrontWindow(id(), blocked);
    std::atomic<bool> done{false};
    std::thread user([&] {
        auto x = XcbDesktop::connect();
        for (int i = 0; i < 150; ++i) { // about 3 s of Alt+Tab
            x->requestActivation(i % 2 ? browser : desktop->notes->id());
            std::this_thread::sleep_for(std::chrono::milliseconds(10 + i % 3 * 5));
        }
        x->requestActivation(browser);
        done = true;
    });
    test::waitUntil([&] { return done.load(); }, test::kDeadline);
    user.join();
    EXPECT_TRUE(test::waitUntil([&] { return landedFrom(blocked); }, test::kDeadline));
    EXPECT_EQ(desktop->notes->keyEvents(), notesKeys);
}

INSTANTIATE_TEST_SUITE_P(Browsers, SafeKeystrokesTest,
                         ::testing::Values(test::BrowserCase{"chromium", test::kChrome},
                                           test::BrowserCase{"firefox", test::kFirefox}),
                         [](const auto& info) { return std::string(info.param.name); });

// Where no address field takes the shortcut (a page that keeps the focus, as a web terminal does), the
// page gets Ctrl+L and nothing more: not the select-all, not the address, not Return, and not again every
// pass.
TEST(SafeKeystrokesPagesTest, PagesThatTakeCtrlLGetNoTypedKey) {
    ASSERT_TRUE(desktop && desktop->pid(test::kChrome) && desktop->pid(test::kFirefox));
    struct Case {
        std::string bundleId;
        std::string path;
    } cases[] = {
        {test::kFirefox, "/blocked/keys-takes-l-firefox"},
        {test::kChrome, "/blocked/keys-takes-l-chromium"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        // A path of this run's own: the server keeps every page's keys for the whole program.
        static int run = 0;
        const std::string path = c.path + "-" + std::to_string(++run);
        const std::string url = desktop->server.url(path);
        const xcb_window_t window = desktop->openFrontWindow(c.bundleId, url);
        // A new Firefox window hands keys to its page only a moment after the page took the focus; until
        // then its address field takes Ctrl+L, rightly. The user's Shift, alone, types nothing anywhere.
        UserKeyboard keyboard;
        const auto shiftReached = [&] {
            const auto keys = desktop->server.keysReceivedBy(path);
            return std::find(keys.begin(), keys.end(), "Shift") != keys.end();
        };
        ASSERT_TRUE(test::waitUntil(
            [&] {
                keyboard.tap(0xffe1);
                return test::waitUntil(shiftReached, 200ms);
            },
            test::kDeadline));
        test::MonitorRun monitor;
        // Two attempts' worth of passes: the failure is remembered, so no second Ctrl+L either.
        ASSERT_TRUE(monitor.morePasses(3));
        // Only this page's keys: the last page's may still be on their way (closing it takes Ctrl+W).
        auto got = desktop->server.keysReceivedBy(path);
        std::erase(got, "Shift");
        EXPECT_LE(got.size(), 2u) << testing::PrintToString(got);
        for (const auto& key : got) {
            // Firefox may see the Control key's own press without the modifier set.
            EXPECT_TRUE(key == "Control+ctrl" || key == "Control" || key == "l+ctrl") << key;
        }
        EXPECT_TRUE(desktop->shows(c.bundleId, url));
        desktop->closeWindow(window); // later monitors would try it again
    }
}

} // namespace
} // namespace kivo
