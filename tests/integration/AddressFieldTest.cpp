// Keys Kivo types go only into a browser window's own address field, told by what it is: not into a
// developer console that keeps the focus when Ctrl+L clears it, not into a page's field the user clicks
// into while the address is being typed, and not at all into an app window, which has no address field.
#include "RealDesktop.h"

#include <xcb/xtest.h>

#include <atomic>
#include <csignal>
#include <thread>

namespace kivo {
namespace {

using namespace std::chrono_literals;
using test::desktop;

bool requested(const std::string& path) {
    const auto& requests = desktop->server.requests();
    return std::find(requests.begin(), requests.end(), path) != requests.end();
}

// A rule of the first group that blocks `pattern` while it lives.
class ExtraRule {
public:
    explicit ExtraRule(const std::string& pattern) {
        auto groups = desktop->store->groups();
        groups.front().rules.push_back(test::Desktop::rule(desktop->hostPath(pattern)));
        desktop->store->setGroups(groups);
    }
    ~ExtraRule() {
        auto groups = desktop->store->groups();
        groups.front().rules.pop_back();
        desktop->store->setGroups(groups);
    }
};

// Only the address-field shortcut, which the focused page sees before the browser takes it (Firefox may
// see the Control key's own press without the modifier set).
void expectOnlyTheShortcut(const std::vector<std::string>& keys) {
    for (const auto& key : keys) {
        EXPECT_TRUE(key == "Control+ctrl" || key == "Control" || key == "l+ctrl") << key;
    }
}

TEST(AddressFieldTest, AConsoleThatKeepsTheFocusOnCtrlLGetsNoText) {
    ASSERT_TRUE(desktop && desktop->pid(test::kChrome));
    const std::string page = desktop->server.url("/console/page");
    const xcb_window_t window = desktop->openFrontWindow(test::kChrome, page);
    // Chromium's developer tools, docked, with the focus in the console's prompt: Ctrl+L clears the
    // console there and leaves the focus in the prompt.
    test::Desktop::type({"key", "ctrl+shift+j"});
    bool ready = false;
    for (int attempt = 0; attempt < 10 && !ready; ++attempt) {
        const std::string probe = "/console-ready-" + std::to_string(attempt);
        test::Desktop::type({"type", "--delay", "10", QString::fromStdString("fetch('" + probe + "')")});
        test::Desktop::type({"key", "Return"});
        ready = test::waitUntil([&] { return requested(probe); }, 5s);
    }
    ASSERT_TRUE(ready) << "the console did not come up";
    // A line of the user's own in the prompt, not run yet.
    test::Desktop::type({"type", "--delay", "10", "fetch('/console-untouched')"});
    test::LogCapture log;
    {
        ExtraRule rule("/console/*");
        test::MonitorRun monitor;
        ASSERT_TRUE(test::waitUntil(
            [&] {
                return log.contains(
                    "AX redirect for com.google.Chrome failed (the address field did not take the focus)");
            },
            test::kDeadline));
    }
    // The prompt still holds exactly the user's line, and the page was not sent away.
    test::Desktop::type({"key", "Return"});
    EXPECT_TRUE(test::waitUntil([&] { return requested("/console-untouched"); }, test::kDeadline));
    EXPECT_TRUE(desktop->shows(test::kChrome, page));
    test::Desktop::type({"key", "F12"}); // the tools go again
    desktop->closeWindow(window);
}

// After the first part of the typed address, clicks into the middle of the browser window, where the
// page's text area lies, as a user would, and waits until the address field has lost the focus.
class ClickIntoThePage final : public KeystrokeSink {
public:
    ClickIntoThePage(KeystrokeSink& real, int browser) : real_(real), browser_(browser) {}
    bool hasKeyboardFocus(WindowHandle window) override { return real_.hasKeyboardFocus(window); }
    std::optional<std::string> keyboardText(const std::string& url) override {
        return real_.keyboardText(url);
    }
    KeystrokeResult focusAddressField(WindowHandle window) override {
        return real_.focusAddressField(window);
    }
    KeystrokeResult selectAll(WindowHandle window) override { return real_.selectAll(window); }
    KeystrokeResult typeText(WindowHandle window, const std::string& text) override {
        const auto sent = real_.typeText(window, text);
        if (!clicked_.exchange(true)) {
            click(static_cast<xcb_window_t>(window));
            const auto until = std::chrono::steady_clock::now() + 5s;
            while (!(fieldLeft = addressFieldLost()) && std::chrono::steady_clock::now() < until) {
                std::this_thread::sleep_for(10ms);
            }
        }
        return sent;
    }
    KeystrokeResult pressReturn(WindowHandle window) override { return real_.pressReturn(window); }
    KeystrokeResult pressDelete(WindowHandle window) override { return real_.pressDelete(window); }
    KeystrokeResult pressEscape(WindowHandle window) override { return real_.pressEscape(window); }
    std::atomic<bool> fieldLeft{false};

private:
    void click(xcb_window_t window) {
        const auto area = x_->geometry(window);
        if (!area) {
            return;
        }
        xcb_connection_t* c = x_->connection();
        xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, x_->root(),
                            static_cast<std::int16_t>(area->x + area->width / 2),
                            static_cast<std::int16_t>(area->y + area->height / 2), 0);
        xcb_test_fake_input(c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(c);
    }
    bool addressFieldLost() {
        auto& tree = desktop->platform->tree();
        const auto frame = tree.focusedWindow(tree.applicationElement(browser_));
        const auto field = frame ? tree.addressField(*frame) : std::nullopt;
        return field && !field->focused;
    }

    KeystrokeSink& real_;
    int browser_;
    std::unique_ptr<XcbDesktop> x_ = XcbDesktop::connect();
    std::atomic<bool> clicked_{false};
};

TEST(AddressFieldTest, AClickIntoThePageWhileTheAddressIsTypedStopsTheTyping) {
    for (const auto& browser :
         {test::BrowserCase{"chromium", test::kChrome}, test::BrowserCase{"firefox", test::kFirefox}}) {
        SCOPED_TRACE(browser.name);
        ASSERT_TRUE(desktop && desktop->pid(browser.bundleId));
        const std::string path = std::string("/blocked/keys-full-click-") + browser.name;
        auto& sink = *static_cast<ClickIntoThePage*>(
            desktop->sinks
                .emplace_back(std::make_unique<ClickIntoThePage>(desktop->platform->keystrokes(),
                                                                 *desktop->pid(browser.bundleId)))
                .get());
        const xcb_window_t window = desktop->openFrontWindow(browser.bundleId, desktop->server.url(path));
        test::LogCapture log;
        test::MonitorRun monitor(&sink);
        ASSERT_TRUE(test::waitUntil([&] { return log.contains("failed (the address field lost the focus)"); },
                                    test::kDeadline));
        EXPECT_TRUE(sink.fieldLeft);
        // The next pass takes the focus back with the shortcut and lands: the page is not held back.
        const auto passes =
            test::passesToRedirect(monitor, log, browser.bundleId, desktop->server.url(path), [] {});
        ASSERT_TRUE(passes) << "not redirected";
        EXPECT_LE(*passes, test::kPassesToRedirect);
        expectOnlyTheShortcut(desktop->server.keysReceivedBy(path));
        desktop->closeWindow(window);
    }
}

TEST(AddressFieldTest, AnAppWindowGetsNoKeyAtAll) {
    ASSERT_TRUE(desktop && desktop->pid(test::kChrome));
    const std::string path = "/blocked/keys-app";
    const std::string url = desktop->server.url(path);
    std::vector<int> before;
    for (const auto& app : desktop->platform->workspace().runningApplications(test::kChrome)) {
        before.push_back(app.processId);
    }
    // A site opened as an app window, in a process of its own.
    QProcess app;
    app.setStandardOutputFile(QProcess::nullDevice());
    app.setStandardErrorFile(QProcess::nullDevice());
    app.start("chromium", desktop->arguments(test::kChrome, {}, false, "app-window")
                              << QString::fromStdString("--app=" + url));
    ASSERT_TRUE(test::waitUntil([&] { return desktop->shows(test::kChrome, url); }, test::kDeadline));
    {
        test::LogCapture log;
        test::MonitorRun monitor;
        EXPECT_TRUE(test::waitUntil(
            [&] {
                return log.contains(
                    "AX redirect for com.google.Chrome failed (the window has no address field)");
            },
            test::kDeadline));
        EXPECT_TRUE(desktop->server.keysReceivedBy(path).empty());
        EXPECT_TRUE(desktop->shows(test::kChrome, url));
    }
    for (const auto& running : desktop->platform->workspace().runningApplications(test::kChrome)) {
        if (std::find(before.begin(), before.end(), running.processId) == before.end()) {
            ::kill(running.processId, SIGKILL);
        }
    }
    app.kill();
    app.waitForFinished(5000);
}

} // namespace
} // namespace kivo
