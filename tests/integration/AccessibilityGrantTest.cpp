// Access to the accessibility bus, granted in Kivo's prompt or switched on by another program, ends the
// prompt at once: the browser brought to the front afterwards is asked nothing and its blocked page goes.
#include "RealDesktop.h"

#include "browser-monitor/AccessibilityPermissionFlow.h"

#include <algorithm>
#include <atomic>

namespace kivo {
namespace {

using test::desktop;
using test::kFirefox;

// The accessibility switch as another program sees it: dbus-send, answered by the bus launcher.
QByteArray busSwitch(const QStringList& call) {
    QProcess send;
    send.start("dbus-send", QStringList{"--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                                        "org.freedesktop.DBus.Properties." + call.front(),
                                        "string:org.a11y.Status", "string:IsEnabled"} +
                                call.mid(1));
    send.waitForFinished(5000);
    return send.exitCode() == 0 ? send.readAllStandardOutput() : QByteArray();
}
bool isBusOn() {
    return busSwitch({"Get"}).contains("boolean true");
}
bool switchBus(bool on) {
    return !busSwitch({"Set", on ? "variant:boolean:true" : "variant:boolean:false"}).isEmpty() &&
           isBusOn() == on;
}

// Counts every key group that goes out.
class KeyCounter final : public KeystrokeSink {
public:
    explicit KeyCounter(KeystrokeSink& real) : real_(real) {}
    bool hasKeyboardFocus(WindowHandle w) override { return real_.hasKeyboardFocus(w); }
    std::optional<std::string> keyboardText(const std::string& url) override {
        return real_.keyboardText(url);
    }
    KeystrokeResult focusAddressField(WindowHandle w) override { return counted(real_.focusAddressField(w)); }
    KeystrokeResult selectAll(WindowHandle w) override { return counted(real_.selectAll(w)); }
    KeystrokeResult typeText(WindowHandle w, const std::string& text) override {
        return counted(real_.typeText(w, text));
    }
    KeystrokeResult pressReturn(WindowHandle w) override { return counted(real_.pressReturn(w)); }
    KeystrokeResult pressDelete(WindowHandle w) override { return counted(real_.pressDelete(w)); }
    KeystrokeResult pressEscape(WindowHandle w) override { return counted(real_.pressEscape(w)); }
    std::atomic<int> sent{0};

private:
    KeystrokeResult counted(KeystrokeResult result) {
        ++sent;
        return result;
    }
    KeystrokeSink& real_;
};

struct GrantCase {
    const char* name;
    bool inKivo; // through the prompt's "Open Settings", else by another program while the browser is behind
};

class AccessibilityGrantTest : public ::testing::TestWithParam<GrantCase> {
protected:
    void TearDown() override {
        // The bus is on again for the tests after, Firefox readable and the test's window gone.
        switchBus(true);
        test::waitUntil([] { return !desktop->shown(kFirefox).empty(); }, test::kDeadline);
        if (window_) {
            desktop->closeWindow(window_);
        }
    }
    bool redirected(const std::string& blocked) {
        const auto pages = desktop->shown(kFirefox);
        return !desktop->shows(kFirefox, blocked) &&
               std::any_of(pages.begin(), pages.end(), [&](const auto& p) {
                   return p.find("/landing?blocked=") != std::string::npos &&
                          p.find(GetParam().name) != std::string::npos;
               });
    }
    xcb_window_t window_ = 0;
};

TEST_P(AccessibilityGrantTest, OnceTheBusIsOnTheBrowserBroughtToTheFrontIsRedirectedWithoutAPrompt) {
    ASSERT_TRUE(desktop && desktop->pid(kFirefox)) << "browser not running";
    const std::string blocked = desktop->server.url(std::string("/blocked/grant-") + GetParam().name);
    window_ = desktop->openFrontWindow(kFirefox, blocked); // read while the bus is on and no monitor runs
    ASSERT_TRUE(desktop->activate(desktop->notes->id()));
    ASSERT_TRUE(switchBus(false));
    ASSERT_TRUE(test::waitUntil([] { return !desktop->platform->tree().isTrusted(); }, test::kDeadline));

    KeyCounter keys(desktop->platform->keystrokes());
    AccessibilityPermissionFlow flow(desktop->platform->tree(), desktop->platform->settingsOpener(),
                                     *desktop->defaults);
    int prompts = 0;
    QObject::connect(&flow, &AccessibilityPermissionFlow::promptingBrowserChanged,
                     [&] { prompts += flow.promptingBrowser().has_value(); });
    test::MonitorRun monitor(&keys, &flow);
    if (GetParam().inKivo) {
        ASSERT_TRUE(desktop->activate(window_));
        ASSERT_TRUE(test::waitUntil([&] { return flow.promptingBrowser().has_value(); }, test::kDeadline));
        EXPECT_EQ(flow.promptingBrowser()->displayName, "Firefox");
        ASSERT_TRUE(monitor.morePasses(2));
        EXPECT_EQ(keys.sent, 0);
        flow.grant();
        EXPECT_TRUE(isBusOn());
        EXPECT_FALSE(flow.promptingBrowser());
        ASSERT_TRUE(desktop->activate(desktop->notes->id()));
    } else {
        ASSERT_TRUE(switchBus(true));
    }
    prompts = 0;
    ASSERT_TRUE(desktop->activate(window_));
    ASSERT_TRUE(test::waitUntil([&] { return redirected(blocked); }, test::kDeadline));
    EXPECT_EQ(prompts, 0);
    EXPECT_FALSE(flow.promptingBrowser());
}

INSTANTIATE_TEST_SUITE_P(Grants, AccessibilityGrantTest,
                         ::testing::Values(GrantCase{"in_kivo", true}, GrantCase{"from_outside", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kivo
