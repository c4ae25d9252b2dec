#include "browser-monitor/AccessibilityBrowserBridge.h"

#include "browser-monitor/AddressText.h"
#include "browser-monitor/BrowserWorkerPool.h"
#include "browser-monitor/GuardedAccessibilityTree.h"
#include "browser-monitor/GuardedKeystrokeSink.h"
#include "browser-monitor/PortGate.h"
#include "browser-monitor/ports/AccessibilityTree.h"
#include "browser-monitor/ports/KeystrokeSink.h"
#include "browser-monitor/ports/RunningApplication.h"
#include "browser-monitor/ports/SettingsOpener.h"
#include "browser-monitor/ports/Workspace.h"
#include "core/Log.h"

#include <algorithm>
#include <thread>
#include <unordered_set>

namespace kivo {
namespace {

void walk(AccessibilityTree& tree, const AccessibilityElement& element, int depth,
          std::vector<std::string>& urls) {
    if (depth > AccessibilityBrowserBridge::kMaxDepth) {
        return;
    }
    const auto role = tree.role(element);
    if (role && *role == AccessibilityTree::kWebAreaRole) {
        // An empty text would match a "*" rule and send the tab away every second.
        if (auto url = tree.url(element); url && !url->empty()) {
            urls.push_back(std::move(*url));
        }
        return; // the page's own content is never walked
    }
    const auto children = tree.children(element);
    if (!children) {
        return;
    }
    for (const auto& child : *children) {
        walk(tree, child, depth + 1, urls);
    }
}

// The web areas a window shows, as elements: a new page is a new element.
void collectWebAreas(AccessibilityTree& tree, const AccessibilityElement& element, int depth,
                     std::vector<AccessibilityElement>& found) {
    if (depth > AccessibilityBrowserBridge::kMaxDepth) {
        return;
    }
    if (depth > 0) {
        if (const auto role = tree.role(element); role && *role == AccessibilityTree::kWebAreaRole) {
            found.push_back(element);
            return;
        }
    }
    if (const auto children = tree.children(element)) {
        for (const auto& child : *children) {
            collectWebAreas(tree, child, depth + 1, found);
        }
    }
}

std::vector<AccessibilityElement> webAreas(AccessibilityTree& tree, const AccessibilityElement& window) {
    std::vector<AccessibilityElement> found;
    collectWebAreas(tree, window, 0, found);
    return found;
}

} // namespace

AccessibilityBrowserBridge::AccessibilityBrowserBridge(Ports ports, BrowserWorkerPool& workers,
                                                       const Clock& clock, TimerFactory& timers, Sleep sleep)
    : ports_(ports), gate_(std::make_shared<PortGate>()),
      tree_(std::make_shared<GuardedAccessibilityTree>(ports.tree, gate_)),
      keystrokes_(std::make_shared<GuardedKeystrokeSink>(ports.keystrokes, gate_)), workers_(workers),
      clock_(clock), keyboard_(std::string(kBundleIdentifier) + ".keyboard", timers) {
    if (!sleep) {
        sleep = [](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); };
    }
    // A given pause may belong to the caller too; once the gate closes no more pauses are made.
    sleep_ = [gate = gate_, sleep = std::move(sleep)](std::chrono::milliseconds d) {
        gate->call(
            [&] {
                sleep(d);
                return true;
            },
            false);
    };
}

AccessibilityBrowserBridge::~AccessibilityBrowserBridge() {
    gate_->close();
}

bool AccessibilityBrowserBridge::isTrusted() {
    return ports_.tree.isTrusted();
}

std::optional<int> AccessibilityBrowserBridge::processIdentifier(const std::string& bundleId) {
    const auto apps = ports_.workspace.runningApplications(bundleId);
    if (apps.empty()) {
        return std::nullopt;
    }
    return apps.front().processId;
}

std::vector<std::string> AccessibilityBrowserBridge::collectWebAreaURLs(AccessibilityTree& tree,
                                                                        const AccessibilityElement& root) {
    std::vector<std::string> found;
    walk(tree, root, 0, found);
    std::vector<std::string> unique;
    std::unordered_set<std::string> seen;
    for (auto& url : found) {
        if (seen.insert(url).second) {
            unique.push_back(std::move(url));
        }
    }
    return unique;
}

namespace {

std::vector<int> processIds(const std::vector<RunningApplication>& apps) {
    std::vector<int> pids;
    for (const auto& app : apps) {
        pids.push_back(app.processId);
    }
    return pids;
}

} // namespace

void AccessibilityBrowserBridge::tabURLs(const std::string& bundleId, URLsHandler done) {
    const auto pids = processIds(ports_.workspace.runningApplications(bundleId));
    if (pids.empty()) {
        done(std::nullopt);
        return;
    }
    workers_.submit<std::vector<std::string>>(
        bundleId,
        [tree = tree_, pids] {
            std::vector<std::string> urls;
            std::unordered_set<std::string> seen;
            for (const int pid : pids) {
                for (auto& url : collectWebAreaURLs(*tree, tree->applicationElement(pid))) {
                    if (seen.insert(url).second) {
                        urls.push_back(std::move(url));
                    }
                }
            }
            return urls;
        },
        kWalkDeadline,
        [bundleId, done = std::move(done)](std::optional<std::vector<std::string>> urls) {
            if (!urls || urls->empty()) {
                done(std::nullopt);
                return;
            }
            qCDebug(lcAutomation, "AX urls for %s: %ld — %s", bundleId.c_str(),
                    static_cast<long>(urls->size()), urls->front().c_str());
            done(std::move(urls));
        });
}

void AccessibilityBrowserBridge::enableAccessibilityInterface(const std::string& bundleId) {
    const auto pids = processIds(ports_.workspace.runningApplications(bundleId));
    if (pids.empty()) {
        return;
    }
    workers_.submit<bool>(
        bundleId,
        [tree = tree_, pids] {
            for (const int pid : pids) {
                const auto app = tree->applicationElement(pid);
                tree->setBooleanAttribute(app, AccessibilityTree::kEnhancedUserInterface, true);
                tree->setBooleanAttribute(app, AccessibilityTree::kManualAccessibility, true);
            }
            return true; // the browser's answers are ignored
        },
        kWalkDeadline, nullptr);
}

void AccessibilityBrowserBridge::openAccessibilitySettings(SettingsOpener& opener) {
    if (!opener.openAccessibilitySettings()) {
        qCDebug(lcAutomation, "Accessibility settings did not open");
    }
}

void AccessibilityBrowserBridge::redirect(const std::string& bundleId, const std::string& oldUrl,
                                          const std::string& newUrl, std::function<void(bool)> done) {
    const auto held = held_.find({bundleId, oldUrl, newUrl});
    const bool isHeld = held != held_.end() && clock_.monotonicNow() < held->second.until;
    const bool queued = std::any_of(queue_.begin(), queue_.end(), [&](const PendingRedirect& p) {
        return p.bundleId == bundleId && p.oldUrl == oldUrl && p.newUrl == newUrl;
    });
    if (isHeld || queued) {
        qCDebug(lcAutomation, "AX redirect for %s: %s -> %s %s", bundleId.c_str(), oldUrl.c_str(),
                newUrl.c_str(), isHeld ? held->second.why : "already typed");
        if (done) {
            done(false);
        }
        return;
    }
    queue_.push_back(PendingRedirect{bundleId, oldUrl, newUrl, std::move(done)});
    startNextRedirect();
}

void AccessibilityBrowserBridge::startNextRedirect() {
    while (!typing_ && !queue_.empty()) {
        const std::string bundleId = queue_.front().bundleId;
        const std::string oldUrl = queue_.front().oldUrl;
        const auto apps = ports_.workspace.runningApplications(bundleId);
        if (apps.empty()) {
            finishRedirect(false, "not running");
            continue;
        }
        if (keyboard_.isBusy()) {
            finishRedirect(false, "keyboard busy");
            continue;
        }
        typing_ = true;
        // First, without bringing anything forward: which window shows the URL at all? When none does, the
        // user is not pulled away from what they are doing for nothing.
        std::vector<int> pids;
        for (const auto& app : apps) {
            pids.push_back(app.processId);
        }
        keyboard_.submit<WindowSearch>(
            [tree = tree_, pids, oldUrl] { return windowShowing(*tree, pids, oldUrl); }, kKeystrokeDeadline,
            [this, bundleId](std::optional<WindowSearch> search) {
                if (search && !search->focusKnown) {
                    // Typing needs the focused window: without it every redirect of this browser fails.
                    qCWarning(lcAutomation, "Cannot tell the focused window of %s", bundleId.c_str());
                }
                if (search && search->window) {
                    typeFrontRedirect(*search);
                    return;
                }
                typing_ = false;
                if (search) {
                    // Routine while the page is being left or the tree is not readable yet: looked at again
                    // every pass.
                    finishRedirect(false, "no window shows the page", true);
                } else {
                    finishRedirect(false, "timed out");
                }
                startNextRedirect();
            });
    }
}

void AccessibilityBrowserBridge::typeFrontRedirect(const WindowSearch& search) {
    // Copies: activating the browser notifies observers, which may queue further redirects (behind this
    // one: `typing_` is set).
    const std::string bundleId = queue_.front().bundleId;
    Typing typing{search.processId, *search.window, false, queue_.front().oldUrl, queue_.front().newUrl};
    const auto apps = ports_.workspace.runningApplications(bundleId);
    const auto app = std::find_if(apps.begin(), apps.end(), [&](const RunningApplication& a) {
        return a.processId == search.processId;
    });
    if (app == apps.end()) {
        typing_ = false;
        finishRedirect(false, "not running");
        startNextRedirect();
        return;
    }
    if (!app->isActive) {
        ports_.workspace.activate(app->processId);
        typing.pause = true;
    }
    keyboard_.submit<Outcome>(
        [tree = tree_, keystrokes = keystrokes_, typing, sleep = sleep_] {
            return typeURL(*tree, *keystrokes, typing, sleep);
        },
        kKeystrokeDeadline,
        [this](std::optional<Outcome> outcome) {
            typing_ = false;
            if (!outcome) {
                finishRedirect(false, "timed out");
                startNextRedirect();
                return;
            }
            // Typing into this page again would fail the same way (or restart a load under way): it is held.
            const auto hold = [&](std::chrono::milliseconds span, const char* why) {
                const auto& r = queue_.front();
                held_[{r.bundleId, r.oldUrl, r.newUrl}] = Hold{clock_.monotonicNow() + span, why};
            };
            switch (*outcome) {
            case Outcome::sent:
                finishRedirect(true, {});
                break;
            case Outcome::stillLoading:
                hold(kLoadingHold, "still loading");
                finishRedirect(false, reason(*outcome));
                break;
            case Outcome::untypable:
            case Outcome::tooLong:
            case Outcome::noAddressField:
            case Outcome::notVerified:
                hold(kFailureHold, "failed recently");
                finishRedirect(false, reason(*outcome));
                break;
            default:
                finishRedirect(false, reason(*outcome));
                break;
            }
            startNextRedirect();
        });
}

void AccessibilityBrowserBridge::finishRedirect(bool sent, const std::string& why, bool routine) {
    PendingRedirect done = std::move(queue_.front());
    queue_.pop_front();
    // Visited addresses are private: only debug lines, off unless the user turns them on, name them.
    if (sent) {
        held_[{done.bundleId, done.oldUrl, done.newUrl}] =
            Hold{clock_.monotonicNow() + kRepeatWindow, "already typed"};
        qCInfo(lcAutomation, "AX redirect for %s done", done.bundleId.c_str());
        qCDebug(lcAutomation, "AX redirect for %s: %s -> %s", done.bundleId.c_str(), done.oldUrl.c_str(),
                done.newUrl.c_str());
    } else if (routine) {
        qCDebug(lcAutomation, "AX redirect for %s not sent (%s): %s -> %s", done.bundleId.c_str(),
                why.c_str(), done.oldUrl.c_str(), done.newUrl.c_str());
    } else {
        qCCritical(lcAutomation, "AX redirect for %s failed (%s)", done.bundleId.c_str(), why.c_str());
        qCDebug(lcAutomation, "AX redirect for %s failed: %s -> %s", done.bundleId.c_str(),
                done.oldUrl.c_str(), done.newUrl.c_str());
    }
    // Forget holds that have run out, so the map does not grow without bound.
    const auto now = clock_.monotonicNow();
    for (auto it = held_.begin(); it != held_.end();) {
        it = now >= it->second.until ? held_.erase(it) : std::next(it);
    }
    if (done.done) {
        done.done(sent);
    }
}

namespace {

bool shows(AccessibilityTree& tree, const AccessibilityElement& window, const std::string& url) {
    const auto shown = AccessibilityBrowserBridge::collectWebAreaURLs(tree, window);
    return std::any_of(shown.begin(), shown.end(),
                       [&](const std::string& s) { return AddressText::sameAddress(s, url); });
}

} // namespace

const char* AccessibilityBrowserBridge::reason(Outcome outcome) {
    switch (outcome) {
    case Outcome::sent:
        return "sent";
    case Outcome::focusLost:
        return "the browser lost the keyboard focus";
    case Outcome::otherPage:
        return "its focused window shows another page";
    case Outcome::noEvent:
        return "keystrokes could not be posted";
    case Outcome::notRaised:
        return "its window could not be brought forward";
    case Outcome::untypable:
        return "the address cannot be typed";
    case Outcome::tooLong:
        return "the address is too long to type";
    case Outcome::noWindowHandle:
        return "its desktop window cannot be told";
    case Outcome::grabbed:
        return "another program holds the keyboard";
    case Outcome::modifierHeld:
        return "a modifier key is held";
    case Outcome::noAddressField:
        return "no address field took the focus";
    case Outcome::notVerified:
        return "the address field did not hold the typed address";
    case Outcome::stillLoading:
        return "the new page is still loading";
    case Outcome::notConfirmed:
        return "the window did not show the new page";
    }
    return "unknown";
}

AccessibilityBrowserBridge::WindowSearch
AccessibilityBrowserBridge::windowShowing(AccessibilityTree& tree, const std::vector<int>& processIds,
                                          const std::string& url) {
    WindowSearch search;
    // Each process of the browser: a second profile or a sibling build runs as a process of its own.
    for (const int processId : processIds) {
        const auto app = tree.applicationElement(processId);
        const auto focused = tree.focusedWindow(app);
        search.focusKnown = search.focusKnown || focused.has_value();
        if (focused && shows(tree, *focused, url)) {
            search.window = focused;
            search.processId = processId;
            return search;
        }
        // A page in a background window: that window is brought forward.
        if (const auto windows = tree.children(app)) {
            for (const auto& window : *windows) {
                if (window != focused && shows(tree, window, url)) {
                    search.window = window;
                    search.processId = processId;
                    return search;
                }
            }
        }
    }
    return search;
}

std::optional<AccessibilityElement> AccessibilityBrowserBridge::focusedWindowShowing(AccessibilityTree& tree,
                                                                                     int processId,
                                                                                     const std::string& url) {
    // The URL may come from another window than the focused one, which the keystrokes would reach.
    const auto window = tree.focusedWindow(tree.applicationElement(processId));
    if (!window || !shows(tree, *window, url)) {
        return std::nullopt;
    }
    return window;
}

AccessibilityBrowserBridge::Outcome AccessibilityBrowserBridge::typeURL(AccessibilityTree& tree,
                                                                        KeystrokeSink& keystrokes,
                                                                        const Typing& typing,
                                                                        const Sleep& sleep) {
    // A line break would press Return part way through and load a half-typed address.
    if (AddressText::hasControlCharacter(typing.url)) {
        return Outcome::untypable;
    }
    const auto text = keystrokes.keyboardText(typing.url);
    if (!text || AddressText::hasControlCharacter(*text)) {
        return Outcome::untypable;
    }
    if (text->size() > kMaxTypedLength) {
        return Outcome::tooLong;
    }
    if (typing.pause) {
        sleep(kActivationPause);
    }
    const auto app = tree.applicationElement(typing.processId);
    if (tree.focusedWindow(app) != typing.window && !tree.raiseWindow(typing.window)) {
        return Outcome::notRaised;
    }
    // Again after bringing it forward: the user may have switched windows meanwhile. The window must be
    // the browser's active one and its desktop window must hold the keyboard focus.
    // Waits end after their time in pauses or in real time, whichever comes first: a slow browser's
    // answers count too.
    const auto over = [](std::chrono::milliseconds waited, std::chrono::steady_clock::time_point start,
                         std::chrono::milliseconds wait) {
        return waited >= wait || std::chrono::steady_clock::now() - start >= wait;
    };
    std::optional<AccessibilityElement> window;
    std::optional<WindowHandle> handle;
    const auto focusStart = std::chrono::steady_clock::now();
    for (auto waited = std::chrono::milliseconds::zero();; waited += kPollStep) {
        window = focusedWindowShowing(tree, typing.processId, typing.oldUrl);
        handle = window ? tree.windowHandle(*window) : std::nullopt;
        if (window && handle && tree.isActive(*window) && keystrokes.hasKeyboardFocus(*handle)) {
            break;
        }
        if (over(waited, focusStart, kFocusWait)) {
            qCDebug(lcAutomation,
                    "AX focused window %s shows %s: %s, desktop window %llx, active %d, focus %d",
                    window ? window->path.c_str() : "none", typing.oldUrl.c_str(), window ? "yes" : "no",
                    static_cast<unsigned long long>(handle.value_or(0)), window && tree.isActive(*window),
                    handle && keystrokes.hasKeyboardFocus(*handle));
            return !window ? Outcome::otherPage : !handle ? Outcome::noWindowHandle : Outcome::focusLost;
        }
        sleep(kPollStep);
    }
    const auto pagesBefore = webAreas(tree, *window);
    // Each group goes out only while the window is still the active one; the sink proves the focus again
    // for every key, so select-all and the URL never land in whatever the user switched to.
    const auto group = [&](auto&& send) -> std::optional<Outcome> {
        if (!tree.isActive(*window)) {
            return Outcome::focusLost;
        }
        switch (send()) {
        case KeystrokeResult::sent:
            return std::nullopt;
        case KeystrokeResult::notFocused:
            return Outcome::focusLost;
        case KeystrokeResult::grabbed:
            return Outcome::grabbed;
        case KeystrokeResult::modifierHeld:
            return Outcome::modifierHeld;
        case KeystrokeResult::untypable:
            return Outcome::untypable;
        case KeystrokeResult::failed:
            break;
        }
        return Outcome::noEvent;
    };
    const auto waitFor = [&](std::chrono::milliseconds wait, auto&& done) {
        const auto start = std::chrono::steady_clock::now();
        for (auto waited = std::chrono::milliseconds::zero();; waited += kAnswerPollStep) {
            if (done()) {
                return true;
            }
            if (over(waited, start, wait)) {
                return false;
            }
            sleep(kAnswerPollStep);
        }
    };
    if (auto stop = group([&] { return keystrokes.focusAddressField(*handle); })) {
        return *stop;
    }
    sleep(kAfterFocusPause);
    // An app window has no address field, and a page may take the shortcut for itself: the focus then
    // stays in the page, and nothing more is sent.
    if (!waitFor(kAddressFieldWait, [&] { return tree.addressFieldText(*window).has_value(); })) {
        return Outcome::noAddressField;
    }
    if (auto stop = group([&] { return keystrokes.selectAll(*handle); })) {
        return *stop;
    }
    sleep(kAfterSelectPause);
    if (auto stop = group([&] { return keystrokes.typeText(*handle, *text); })) {
        return *stop;
    }
    sleep(kAfterTypePause);
    // Return loads whatever the field holds: only exactly the typed address goes out. The browser takes
    // a moment to take in a long burst of keys.
    const auto holdsText = [&] { return tree.addressFieldText(*window) == *text; };
    if (!waitFor(kReadBackWait, holdsText)) {
        // An inline suggestion may have completed the text: Delete removes the selected rest.
        if (auto stop = group([&] { return keystrokes.pressDelete(*handle); })) {
            return *stop;
        }
        sleep(kAfterDeletePause);
        if (!waitFor(kPollStep * 5, holdsText)) {
            return Outcome::notVerified;
        }
    }
    if (auto stop = group([&] { return keystrokes.pressReturn(*handle); })) {
        return *stop;
    }
    // Only a new document of the typed address, loaded, shows the redirect happened: the old page's own
    // attributes may take the typed address before anything was asked of the server.
    bool underWay = false;
    const auto loaded = [&] {
        for (const auto& page : webAreas(tree, *window)) {
            const bool isNew = std::find(pagesBefore.begin(), pagesBefore.end(), page) == pagesBefore.end();
            const auto url = tree.url(page);
            const bool target =
                url && (AddressText::sameAddress(*url, *text) || AddressText::sameAddress(*url, typing.url));
            const auto loading = tree.isLoading(page);
            if (isNew && target && loading == false) {
                return true;
            }
            underWay = underWay || (isNew && target) || loading == true;
        }
        return false;
    };
    if (waitFor(kConfirmWait, loaded)) {
        return Outcome::sent;
    }
    return underWay ? Outcome::stillLoading : Outcome::notConfirmed;
}

} // namespace kivo
