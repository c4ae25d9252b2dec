#include "platform/linux/LinuxBrowserPlatform.h"
#include "platform/linux/LinuxBrowserIdentity.h"
#include "platform/linux/LinuxKeystrokeSink.h"
#include "platform/linux/LinuxSettingsOpener.h"
#include "platform/linux/LinuxWorkspace.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(LinuxBrowserIdentityTest, WindowClassesMapToTheTablesRowsAndNothingElseIsABrowser) {
    struct Case {
        const char* instance;
        const char* className;
        std::optional<std::string> bundleId;
        std::optional<std::string> name;
    } cases[] = {
        {"chromium", "Chromium", "com.google.Chrome", "Chromium"},
        {"chromium (/tmp/profile)", "Chromium", "com.google.Chrome", "Chromium"},
        {"google-chrome", "Google-chrome", "com.google.Chrome", "Chrome"},
        {"Navigator", "firefox-esr", "org.mozilla.firefox", "Firefox"},
        {"Navigator", "firefox", "org.mozilla.firefox", "Firefox"},
        {"brave-browser", "Brave-browser", "com.brave.Browser", "Brave"},
        {"microsoft-edge", "Microsoft-edge", "com.microsoft.edgemac", "Edge"},
        {"vivaldi-stable", "Vivaldi-stable", "com.vivaldi.Vivaldi", "Vivaldi"},
        {"xterm", "XTerm", std::nullopt, std::nullopt},
        {"Navigator", "Thunderbird", std::nullopt, std::nullopt},
        {"safari", "Safari", std::nullopt, std::nullopt}, // no Linux build
        {"", "", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.instance) + "/" + c.className);
        EXPECT_EQ(LinuxBrowserIdentity::bundleIdForWindowClass(c.instance, c.className), c.bundleId);
        EXPECT_EQ(LinuxBrowserIdentity::displayNameForWindowClass(c.instance, c.className), c.name);
    }
}

TEST(LinuxKeystrokeSinkTest, OnlyPrintableAsciiIsEverTyped) {
    struct Case {
        std::string url;
        std::optional<std::string> typed;
    } cases[] = {
        {"http://127.0.0.1:8000/a?b=c#d", "http://127.0.0.1:8000/a?b=c#d"},
        {"http://b\xC3\xBC"
         "cher.test:8000/caf\xC3\xA9?q=\xE4\xB8\xAD",
         "http://xn--bcher-kva.test:8000/caf%C3%A9?q=%E4%B8%AD"},
        {"http://user@b\xC3\xBC"
         "cher.test/",
         "http://user@xn--bcher-kva.test/"},
        {"http://[::1]:80/a b", "http://[::1]:80/a%20b"},
        {"http://a.test/\nhttp://evil.test/", std::nullopt},
        {"http://a.test/\x7f", std::nullopt},
        {"http://\xE2\x80\x8B.test/", std::nullopt}, // no valid internationalised name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(LinuxKeystrokeSink::asciiURL(c.url), c.typed);
    }
    LinuxKeystrokeSink noDisplay(nullptr);
    EXPECT_EQ(noDisplay.typeText(1, "abc"), KeystrokeResult::failed);
    EXPECT_FALSE(noDisplay.keyboardText("http://a.test/"));
    EXPECT_FALSE(noDisplay.hasKeyboardFocus(1));
}

TEST(LinuxSettingsOpenerTest, OpensTheDesktopsOwnSettingsAndAlwaysTurnsTheBusOn) {
    struct Case {
        const char* desktop;
        QStringList command;
    } cases[] = {
        {"GNOME", {"gnome-control-center", "universal-access"}},
        {"ubuntu:GNOME", {"gnome-control-center", "universal-access"}},
        {"KDE", {"systemsettings", "kcm_access"}},
        {"openbox", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktop);
        qputenv("XDG_CURRENT_DESKTOP", c.desktop);
        QStringList launched;
        int switched = 0;
        LinuxSettingsOpener opener(
            [&](const QString& program, const QStringList& arguments) {
                launched = QStringList{program} + arguments;
                return true;
            },
            [&] { return ++switched > 0; });
        EXPECT_EQ(opener.openAccessibilitySettings(), !c.command.isEmpty());
        EXPECT_EQ(launched, c.command);
        EXPECT_EQ(switched, 1);
    }
    qunsetenv("XDG_CURRENT_DESKTOP");
}

TEST(LinuxBrowserPlatformTest, WithoutADisplayItReportsNoBrowsers) {
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    auto platform = LinuxBrowserPlatform::create();
    ASSERT_TRUE(platform);
    auto ports = platform->ports();
    EXPECT_EQ(ports.workspace.frontmostBundleId(), "");
    EXPECT_TRUE(ports.workspace.runningApplications("com.google.Chrome").empty());
    EXPECT_FALSE(ports.workspace.activate(1));
    EXPECT_FALSE(ports.keystrokes.hasKeyboardFocus(1));
    ASSERT_TRUE(ports.routes);
    EXPECT_EQ(ports.routes->access(*BrowserDescriptor::fromBundleId("com.apple.Safari")),
              BrowserURLAccess::accessibility);
    EXPECT_EQ(ports.routes->displayName(*BrowserDescriptor::fromBundleId("com.google.Chrome")), "Chromium");
    if (!display.isEmpty()) {
        qputenv("DISPLAY", display);
    }
}

} // namespace
} // namespace kivo
