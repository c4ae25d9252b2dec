#pragma once

// What the tests against real browsers share: the page server, the two browsers with fresh profiles,
// the Linux platform, the rule store, a window of another program, and the monitor as the application
// runs it.
#include "PageServer.h"

#include "app/rules/BlockRuleStore.h"
#include "browser-monitor/AccessibilityBrowserBridge.h"
#include "browser-monitor/AddressText.h"
#include "browser-monitor/BrowserMonitor.h"
#include "core/QtTimerFactory.h"
#include "core/SystemClock.h"
#include "platform/linux/LinuxAccessibilityTree.h"
#include "platform/linux/LinuxBrowserPlatform.h"
#include "platform/linux/LinuxKeystrokeSink.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/XcbDesktop.h"
#include "settings/FileDefaultsStore.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <memory>
#include <unistd.h>

namespace kivo::test {

using namespace std::chrono_literals;

inline const std::string kChrome = "com.google.Chrome";
inline const std::string kFirefox = "org.mozilla.firefox";
inline const std::string kIdnHost = "xn--bcher-kva.test"; // bücher.test
// The desktop, the browsers and the monitor can lag far behind on a loaded machine: a wait for any of them
// gives up only after this long. Waits return as soon as their condition holds, so only a failing test
// pays for it.
inline constexpr std::chrono::seconds kDeadline{30};
// A page that is redirected at once is redirected by the first pass that reads it: from the moment it can
// be read, only the pass then under way and that one end before its redirect is done, however slow the
// passes. A hold-off (3 s at the least) lets every pass in it read the page and leave it.
inline constexpr int kPassesToRedirect = 2;

// The command that starts a program as a sandboxed package does: in a pid namespace of its own, whose first
// process starts the program and reaps its children. Without root the pid namespace needs a user
// namespace of its own, as a sandbox makes one; the user stays the same, so the bus lets it in.
inline QStringList sandboxCommand(const QString& program) {
    QStringList command{"unshare"};
    if (::geteuid() != 0) {
        command << "--user"
                << "--map-current-user";
    }
    command << "--pid"
            << "--fork"
            << "--kill-child"
            << "--mount-proc"
            << "sh"
            << "-c"
            << "\"$@\" & wait"
            << "sh";
    if (!program.isEmpty()) {
        command << program;
    }
    return command;
}

// Returns once the server has handled every request sent before and this connection has every event
// that came of them.
inline void roundTrip(xcb_connection_t* c) {
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

// Brings the window to the front. The window manager may drop a request (a busy machine, a window still
// mapping), so it is repeated every second until the window is active.
inline bool activate(XcbDesktop& x, xcb_window_t window) {
    QElapsedTimer sinceRequest;
    return waitUntil(
        [&] {
            if (x.activeWindow() == window) {
                return true;
            }
            if (!sinceRequest.isValid() || sinceRequest.elapsed() >= 1000) {
                x.requestActivation(window);
                sinceRequest.start();
            }
            return false;
        },
        kDeadline);
}

// The first key that gives `keysym` in the core keyboard mapping.
inline std::optional<xcb_keycode_t> keycodeOf(xcb_connection_t* c, xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* map =
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr);
    if (!map) {
        return std::nullopt;
    }
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    const int length = xcb_get_keyboard_mapping_keysyms_length(map);
    std::optional<xcb_keycode_t> found;
    for (int i = 0; i < length && !found; ++i) {
        if (syms[i] == keysym) {
            found = static_cast<xcb_keycode_t>(setup->min_keycode + i / map->keysyms_per_keycode);
        }
    }
    std::free(map);
    return found;
}

// A window of another program, which must never receive a keystroke meant for a browser.
class NotesWindow {
public:
    explicit NotesWindow(XcbDesktop& desktop) : desktop_(desktop) {
        xcb_connection_t* c = desktop_.connection();
        window_ = xcb_generate_id(c);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const std::uint32_t events = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, screen->root, 50, 50, 400, 300, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK, &events);
        const char wmClass[] = "notes\0Notes";
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            sizeof wmClass, wmClass);
        xcb_ewmh_set_wm_pid(&desktop_.ewmh(), window_, static_cast<std::uint32_t>(getpid()));
        xcb_map_window(c, window_);
        xcb_flush(c);
    }
    xcb_window_t id() const { return window_; }
    int keyEvents() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(desktop_.connection())) {
            const int type = event->response_type & 0x7f;
            keyEvents_ += type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE;
            if (type == XCB_MAPPING_NOTIFY) {
                keyEventsBeforeKeymapChange_ = keyEvents_;
            }
            std::free(event);
        }
        return keyEvents_;
    }
    // The key events that came before the server last told of a new keymap (as it also does when keys come
    // from another keyboard than the last ones did), if it has.
    std::optional<int> keyEventsBeforeKeymapChange() {
        keyEvents();
        return keyEventsBeforeKeymapChange_;
    }

private:
    XcbDesktop& desktop_;
    xcb_window_t window_ = 0;
    int keyEvents_ = 0;
    std::optional<int> keyEventsBeforeKeymapChange_;
};

struct BrowserCase {
    const char* name;
    std::string bundleId;
    friend void PrintTo(const BrowserCase& c, std::ostream* os) { *os << c.name; }
};

// What every test shares: the page server, the two browsers with fresh profiles, the platform and the
// rule store. Browsers are started once; a test opens the windows it needs.
class Desktop {
public:
    test::PageServer server;
    QTemporaryDir home;
    std::unique_ptr<XcbDesktop> x = XcbDesktop::connect();
    std::unique_ptr<LinuxBrowserPlatform> platform = LinuxBrowserPlatform::create();
    SystemClock clock;
    QtTimerFactory timers;
    std::unique_ptr<FileDefaultsStore> defaults;
    std::unique_ptr<BlockRuleStore> store;
    std::unique_ptr<NotesWindow> notes;
    std::map<std::string, std::unique_ptr<QProcess>> browsers;
    std::vector<std::unique_ptr<KeystrokeSink>> sinks; // outlive the monitors that used them, as the ports do

    Desktop() {
        defaults = std::make_unique<FileDefaultsStore>(home.filePath("settings"));
        store = std::make_unique<BlockRuleStore>(*defaults, "Default", clock);
        BlockRuleGroup group;
        group.id = Uuid::random();
        group.name = "Test";
        group.isEnabled = true;
        group.schedule = BlockSchedule::always();
        group.redirectURL = Url::parse(server.url("/landing"));
        group.appendsQueryParameters = true;
        group.rules = {rule(hostPath("/blocked/allowed*"), RuleAction::allow), rule(hostPath("/blocked/*"))};
        BlockRuleGroup idn = group;
        idn.id = Uuid::random();
        idn.name = "Elsewhere";
        idn.redirectURL = Url::parse("http://" + kIdnHost + ":" + std::to_string(server.port()) + "/landing");
        idn.rules = {rule(hostPath("/idn/*"))};
        BlockRuleGroup slow = group;
        slow.id = Uuid::random();
        slow.name = "Slow";
        slow.redirectURL = Url::parse(server.url("/slow/landing"));
        slow.rules = {rule(hostPath("/slowblock/*"))};
        BlockRuleGroup slower = group;
        slower.id = Uuid::random();
        slower.name = "Slower";
        slower.redirectURL = Url::parse(server.url("/slower/landing"));
        slower.rules = {rule(hostPath("/slowerblock/*"))};
        store->setGroups({group, idn, slow, slower});
        notes = std::make_unique<NotesWindow>(*x);
    }
    void stopAll() {
        for (auto& [id, process] : browsers) {
            stopBrowser(id);
        }
    }

    std::string hostPath(const std::string& path) const {
        return "127.0.0.1:" + std::to_string(server.port()) + path;
    }
    static BlockRule rule(const std::string& pattern, RuleAction action = RuleAction::block) {
        BlockRule r;
        r.id = Uuid::random();
        r.pattern = pattern;
        r.isEnabled = true;
        r.action = action;
        return r;
    }

    QString profile(const std::string& bundleId) const {
        return home.filePath(QString::fromStdString(bundleId));
    }

    // `otherProfile`: a profile of its own, for a process of its own.
    QStringList arguments(const std::string& bundleId, const std::string& url, bool newWindow,
                          const QString& otherProfile = {}) const {
        const QString profileDir = otherProfile.isEmpty() ? profile(bundleId) : home.filePath(otherProfile);
        QStringList args;
        if (bundleId == kChrome) {
            args << "--no-sandbox"
                 << "--disable-gpu"
                 << "--disable-background-networking"
                 << "--disable-component-update"
                 << "--disable-sync"
                 << "--no-first-run"
                 << "--no-default-browser-check"
                 << "--password-store=basic"
                 << "--hide-crash-restore-bubble"
                 << "--force-renderer-accessibility"
                 << "--user-data-dir=" + profileDir
                 << QString::fromStdString("--host-resolver-rules=MAP " + kIdnHost +
                                           " 127.0.0.1, MAP * ~NOTFOUND , EXCLUDE 127.0.0.1");
        } else {
            args << "--profile" << profileDir;
        }
        if (newWindow) {
            args << "--new-window";
        }
        if (!url.empty()) {
            args << QString::fromStdString(url);
        }
        return args;
    }

    // In the browser's own profile, or in `dir`.
    void writeFirefoxProfile(const QString& dir = {}) {
        const QString folder = dir.isEmpty() ? profile(kFirefox) : dir;
        QDir().mkpath(folder);
        QFile prefs(folder + "/user.js");
        ASSERT_TRUE(prefs.open(QIODevice::WriteOnly));
        // Every request goes to the page server (made-up hosts included); nothing leaves the machine.
        const QByteArray port = QByteArray::number(server.port());
        prefs.write("user_pref(\"network.proxy.type\", 1);\n"
                    "user_pref(\"network.proxy.http\", \"127.0.0.1\");\n"
                    "user_pref(\"network.proxy.http_port\", " +
                    port +
                    ");\n"
                    "user_pref(\"network.proxy.ssl\", \"127.0.0.1\");\n"
                    "user_pref(\"network.proxy.ssl_port\", 9);\n"
                    "user_pref(\"network.proxy.no_proxies_on\", \"127.0.0.1\");\n"
                    "user_pref(\"network.proxy.allow_hijacking_localhost\", false);\n"
                    "user_pref(\"network.captive-portal-service.enabled\", false);\n"
                    "user_pref(\"network.connectivity-service.enabled\", false);\n"
                    "user_pref(\"browser.shell.checkDefaultBrowser\", false);\n"
                    "user_pref(\"browser.startup.homepage_override.mstone\", \"ignore\");\n"
                    "user_pref(\"browser.aboutwelcome.enabled\", false);\n"
                    "user_pref(\"browser.sessionstore.resume_from_crash\", false);\n"
                    "user_pref(\"toolkit.startup.max_resumed_crashes\", -1);\n"
                    "user_pref(\"datareporting.policy.dataSubmissionEnabled\", false);\n"
                    "user_pref(\"toolkit.telemetry.reportingpolicy.firstRun\", false);\n"
                    "user_pref(\"app.update.enabled\", false);\n"
                    "user_pref(\"browser.safebrowsing.malware.enabled\", false);\n"
                    "user_pref(\"browser.safebrowsing.phishing.enabled\", false);\n");
    }

    std::string program(const std::string& bundleId) const {
        return bundleId == kChrome ? "chromium" : "firefox-esr";
    }

    std::optional<int> pid(const std::string& bundleId) {
        const auto apps = platform->workspace().runningApplications(bundleId);
        return apps.empty() ? std::nullopt : std::optional<int>(apps.front().processId);
    }

    // The pages the windows of every process of the browser show, as the monitor reads them.
    std::vector<std::string> shown(const std::string& bundleId) {
        auto& tree = platform->tree();
        std::vector<std::string> pages;
        for (const auto& app : platform->workspace().runningApplications(bundleId)) {
            const auto more =
                AccessibilityBrowserBridge::collectWebAreaURLs(tree, tree.applicationElement(app.processId));
            pages.insert(pages.end(), more.begin(), more.end());
        }
        return pages;
    }
    bool shows(const std::string& bundleId, const std::string& url) {
        const auto pages = shown(bundleId);
        return std::any_of(pages.begin(), pages.end(),
                           [&](const std::string& s) { return AddressText::sameAddress(s, url); });
    }
    // Whether a window of the browser shows a redirect page whose `blocked=` names `blocked`.
    bool landedFrom(const std::string& bundleId, const std::string& blocked) {
        const auto pages = shown(bundleId);
        return std::any_of(pages.begin(), pages.end(), [&](const std::string& page) {
            const QUrl url(QString::fromStdString(page));
            return page.find("/landing?blocked=") != std::string::npos &&
                   AddressText::sameAddress(
                       QUrlQuery(url).queryItemValue("blocked", QUrl::FullyDecoded).toStdString(), blocked);
        });
    }

    void startBrowser(const std::string& bundleId, const std::string& url) {
        if (bundleId == kFirefox) {
            writeFirefoxProfile();
        }
        auto process = std::make_unique<QProcess>();
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(home.filePath(QString::fromStdString(bundleId + ".log")));
        process->start(QString::fromStdString(program(bundleId)), arguments(bundleId, url, false));
        browsers[bundleId] = std::move(process);
        ASSERT_TRUE(test::waitUntil([&] { return shows(bundleId, url); }, kDeadline))
            << bundleId << " did not show " << url;
    }
    // A new window of the running browser; it comes to the front.
    void openWindow(const std::string& bundleId, const std::string& url) {
        launchWindow(bundleId, url);
        ASSERT_TRUE(test::waitUntil([&] { return shows(bundleId, url); }, kDeadline))
            << bundleId << " did not show " << url;
    }
    // The same, and the new window once the window manager has made it the active one (0, with a failure,
    // when it did not): right after the page shows, the window in front may still be the last one.
    xcb_window_t openFrontWindow(const std::string& bundleId, const std::string& url) {
        const auto before = x->clientList();
        openWindow(bundleId, url);
        xcb_window_t opened = 0;
        if (!test::waitUntil(
                [&] {
                    opened = x->activeWindow();
                    return opened && std::find(before.begin(), before.end(), opened) == before.end();
                },
                kDeadline)) {
            ADD_FAILURE() << "the new window of " << bundleId << " did not come to the front";
            opened = 0;
        }
        return opened;
    }
    // The same without waiting for the page, which a running monitor may replace before it is seen.
    void launchWindow(const std::string& bundleId, const std::string& url) {
        QProcess::execute(QString::fromStdString(program(bundleId)), arguments(bundleId, url, true));
    }
    void stopBrowser(const std::string& bundleId) {
        auto it = browsers.find(bundleId);
        if (it == browsers.end() || !it->second) {
            return;
        }
        if (const auto p = pid(bundleId)) {
            ::kill(*p, SIGKILL);
        }
        it->second->kill();
        it->second->waitForFinished(5000);
        it->second.reset();
    }
    // After a keymap change every browser reads the new keymap for a while, and tests that time the
    // desktop would be off: this waits (5 s at most) until both have answered an accessibility read
    // promptly for half a second.
    void waitUntilBrowsersSettle() {
        QElapsedTimer sinceSlow;
        sinceSlow.start();
        test::waitUntil(
            [&] {
                QElapsedTimer read;
                read.start();
                shown(kChrome);
                shown(kFirefox);
                if (read.elapsed() > 50) {
                    sinceSlow.restart();
                }
                return sinceSlow.elapsed() >= 500;
            },
            5s);
    }
    // Keys as the user types them, into whatever has the focus (xdotool through XTest).
    static void type(const QStringList& xdotoolArguments) { QProcess::execute("xdotool", xdotoolArguments); }
    // Closes a browser window that a test opened (its one tab), so that no later test reads its page.
    void closeWindow(xcb_window_t window) {
        if (!window) {
            return; // Ctrl+W would close whichever window is in front
        }
        activate(window);
        type({"key", "ctrl+w"});
        test::waitUntil(
            [&] {
                const auto list = x->clientList();
                return std::find(list.begin(), list.end(), window) == list.end();
            },
            kDeadline);
    }
    bool activate(xcb_window_t window) { return test::activate(*x, window); }
    void bringForward(const std::string& bundleId) {
        const auto p = pid(bundleId);
        ASSERT_TRUE(p);
        activate(x->topWindowOf(*p));
    }
};

inline Desktop* desktop = nullptr;

// A rule group of its own for one test: pages under `path` go to exactly `target` (no query added, and
// not a "/landing" page other tests look for). The groups are as before once it goes.
class RedirectGroup {
public:
    RedirectGroup(const std::string& path, const std::string& target) : groups_(desktop->store->groups()) {
        BlockRuleGroup group;
        group.id = Uuid::random();
        group.name = "Exact";
        group.isEnabled = true;
        group.schedule = BlockSchedule::always();
        group.redirectURL = Url::parse(target);
        group.appendsQueryParameters = false;
        group.rules = {Desktop::rule(desktop->hostPath(path + "*"))};
        auto withGroup = groups_;
        withGroup.push_back(group);
        desktop->store->setGroups(withGroup);
    }
    ~RedirectGroup() { desktop->store->setGroups(groups_); }
    RedirectGroup(const RedirectGroup&) = delete;
    RedirectGroup& operator=(const RedirectGroup&) = delete;

private:
    std::vector<BlockRuleGroup> groups_;
};

// The monitor as the application runs it: the Linux ports, the real rule store, real time.
class MonitorRun {
public:
    explicit MonitorRun(KeystrokeSink* keystrokes = nullptr, AccessibilityPermissionFlow* flow = nullptr)
        : ports_(withKeystrokes(desktop->platform->ports(), keystrokes)),
          monitor_(ports_, desktop->clock, desktop->timers) {
        QObject::connect(&monitor_, &BrowserMonitor::passFinished, [this] { ++passes; });
        QObject::connect(desktop->store.get(), &BlockRuleStore::groupsChanged, &monitor_,
                         [this] { monitor_.refreshRules(); });
        monitor_.start([] { return desktop->store->groups(); }, flow);
    }
    BrowserMonitor& operator*() { return monitor_; }
    BrowserMonitor* operator->() { return &monitor_; }
    // Waits until `count` more passes have ended; false when they did not.
    bool morePasses(int count) {
        const int until = passes + count;
        return waitUntil([&] { return passes >= until; }, kDeadline);
    }
    int passes = 0;

private:
    static BrowserMonitor::Ports withKeystrokes(BrowserMonitor::Ports ports, KeystrokeSink* keystrokes) {
        if (!keystrokes) {
            return ports;
        }
        return BrowserMonitor::Ports{ports.workspace, ports.scriptHost, ports.consent,
                                     ports.tree,      *keystrokes,      ports.routes};
    }
    BrowserMonitor::Ports ports_;
    BrowserMonitor monitor_;
};

// What the monitor's debug lines tell of its redirects of `page` in the browser: those done, and the
// attempts it held back or that failed. One not sent because no window showed the page is neither: the
// page was being left.
struct RedirectsOf {
    int done = 0;
    int heldOrFailed = 0;
};
inline RedirectsOf redirectsOf(const LogCapture& log, const std::string& bundleId, const std::string& page) {
    // "AX redirect for <browser>: <page> -> <target>", with the reason after the target when held back.
    const std::string subject = "AX redirect for " + bundleId;
    const std::string from = " " + page + " -> ";
    RedirectsOf seen;
    for (const auto& line : log.lines()) {
        const auto at = line.find(subject);
        const auto arrow = line.find(from);
        if (at == std::string::npos || arrow == std::string::npos) {
            continue;
        }
        if (line.compare(at + subject.size(), 2, ": ") == 0 &&
            line.find(' ', arrow + from.size()) == std::string::npos) {
            ++seen.done;
        } else if (line.find("not sent (no window shows the page)") == std::string::npos) {
            ++seen.heldOrFailed;
        }
    }
    return seen;
}

// The passes that end from the moment `visit` has made `page` readable in the browser until the monitor's
// next redirect of it is done; none when either does not come.
inline std::optional<int> passesToRedirect(MonitorRun& monitor, const LogCapture& log,
                                           const std::string& bundleId, const std::string& page,
                                           const std::function<void()>& visit) {
    const int before = redirectsOf(log, bundleId, page).done;
    const auto redirected = [&] { return redirectsOf(log, bundleId, page).done > before; };
    visit();
    // A page redirected before a read here saw it counts no pass.
    if (!waitUntil([&] { return redirected() || desktop->shows(bundleId, page); }, kDeadline)) {
        return std::nullopt;
    }
    const int readable = monitor.passes;
    if (!waitUntil(redirected, kDeadline)) {
        return std::nullopt;
    }
    return monitor.passes - readable;
}

} // namespace kivo::test
