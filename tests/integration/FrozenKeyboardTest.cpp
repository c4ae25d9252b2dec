// While another client freezes the keyboard (a pointer grab with the keyboard synchronous, as a
// click-to-focus window manager holds from a click until it lets the click through), the server keeps
// every key back and hands it, once thawed, to whatever has the focus then: Kivo sends nothing meanwhile.
#include "RealDesktop.h"

#include <functional>

namespace kivo {
namespace {

using test::desktop;

class Freezer {
public:
    Freezer() {
        xcb_connection_t* c = x_->connection();
        holds = test::waitUntil(
            [&] {
                xcb_grab_pointer_reply_t* reply = xcb_grab_pointer_reply(
                    c,
                    xcb_grab_pointer(c, 0, x_->root(), 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC, XCB_NONE,
                                     XCB_NONE, XCB_CURRENT_TIME),
                    nullptr);
                const bool ok = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
                std::free(reply);
                return ok;
            },
            test::kDeadline);
    }
    ~Freezer() { thaw(); }
    // Whatever the server kept back is handed out by the time this returns.
    void thaw() {
        xcb_ungrab_pointer(x_->connection(), XCB_CURRENT_TIME);
        test::roundTrip(x_->connection());
    }
    bool holds = false;

private:
    std::unique_ptr<XcbDesktop> x_ = XcbDesktop::connect();
};

TEST(FrozenKeyboardTest, NoGroupOfKeysGoesOutWhileTheKeyboardIsFrozen) {
    auto x = XcbDesktop::connect();
    test::NotesWindow notes(*x);
    ASSERT_TRUE(desktop->activate(notes.id()));
    LinuxKeystrokeSink sink(XcbDesktop::connect());
    ASSERT_TRUE(test::waitUntil([&] { return sink.hasKeyboardFocus(notes.id()); }, test::kDeadline));
    {
        Freezer freezer;
        ASSERT_TRUE(freezer.holds);
        EXPECT_FALSE(sink.hasKeyboardFocus(notes.id()));
        const struct {
            const char* name;
            std::function<KeystrokeResult()> send;
        } groups[] = {
            {"Ctrl+L", [&] { return sink.focusAddressField(notes.id()); }},
            {"Ctrl+A", [&] { return sink.selectAll(notes.id()); }},
            {"text", [&] { return sink.typeText(notes.id(), "http://kivo.test/"); }},
            {"Return", [&] { return sink.pressReturn(notes.id()); }},
        };
        for (const auto& group : groups) {
            SCOPED_TRACE(group.name);
            EXPECT_EQ(group.send(), KeystrokeResult::grabbed);
        }
    }
    // Thawed: whatever the server kept back has been handed out by now, and the window got none of it. A
    // key sent now is its first. (Under a loaded desktop another window may have taken the focus
    // meanwhile: given back first.)
    EXPECT_EQ(notes.keyEvents(), 0);
    ASSERT_TRUE(desktop->activate(notes.id()));
    ASSERT_TRUE(test::waitUntil([&] { return sink.hasKeyboardFocus(notes.id()); }, test::kDeadline));
    EXPECT_EQ(sink.typeText(notes.id(), "x"), KeystrokeResult::sent);
    ASSERT_TRUE(test::waitUntil([&] { return notes.keyEvents() >= 2; }, test::kDeadline));
    EXPECT_EQ(notes.keyEvents(), 2);
}

// As a window manager does: the click moves the focus to another window, then lets the click through.
TEST(FrozenKeyboardTest, APageDueWhileTheKeyboardIsFrozenGetsNoKeyAndIsRedirectedLater) {
    ASSERT_TRUE(desktop && desktop->pid(test::kChrome)) << "browser not running";
    auto x = XcbDesktop::connect();
    test::NotesWindow notes(*x);
    const std::string blocked = desktop->server.url("/frozen/page");
    const std::string thawed = desktop->server.url("/thawed");
    test::RedirectGroup redirect("/frozen/", thawed);
    test::MonitorRun monitor;
    {
        Freezer freezer;
        ASSERT_TRUE(freezer.holds);
        desktop->openWindow(test::kChrome, blocked);
        ASSERT_TRUE(monitor.morePasses(2));
        EXPECT_TRUE(desktop->shows(test::kChrome, blocked));
        desktop->activate(notes.id());
        freezer.thaw();
    }
    test::roundTrip(x->connection());
    EXPECT_EQ(notes.keyEvents(), 0);
    desktop->bringForward(test::kChrome);
    EXPECT_TRUE(test::waitUntil([&] { return desktop->shows(test::kChrome, thawed); }, test::kDeadline));
}

} // namespace
} // namespace kivo
