#include "browser-monitor/AccessibilityBrowserBridge.h"

#include "browser-monitor/AddressText.h"
#include "browser-monitor/BrowserWorkerPool.h"
#include "browser-monitor/GuardedAccessibilityTree.h"
#include "browser-monitor/GuardedKeystrokeSink.h"
#include "browser-monitor/PortGate.h"
#include "browser-monitor/ports/AccessibilityTree.h"
#include "browser-monitor/ports/KeystrokeSink.h"
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
    auto last = lastTyped_.find({bundleId, oldUrl, newUrl});
    const bool recentlyTyped =
        last != lastTyped_.end() && clock_.monotonicNow() - last->second < kRepeatWindow;
    const bool queued = std::any_of(queue_.begin(), queue_.end(), [&](const PendingRedirect& p) {
        return p.bundleId == bundleId && p.oldUrl == oldUrl && p.newUrl == newUrl;
    });
    if (recentlyTyped || queued) {
        // The page is still loading the address typed a moment ago.
        qCDebug(lcAutomation, "AX redirect for %s: %s -> %s already typed", bundleId.c_str(), oldUrl.c_str(),
                newUrl.c_str());
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
        keyboard_.submit<WindowSearch>([tree = tree_, pid = apps.front().processId,
                                        oldUrl] { return windowShowing(*tree, pid, oldUrl); },
                                       kKeystrokeDeadline,
                                       [this, bundleId](std::optional<WindowSearch> search) {
                                           if (search && !search->focusKnown) {
                                               // Typing needs the focused window: without it every redirect
                                               // of this browser fails.
                                               qCWarning(lcAutomation, "Cannot tell the focused window of %s",
                                                         bundleId.c_str());
                                           }
                                           if (search && search->window) {
                                               typeFrontRedirect(*search->window);
                                               return;
                                           }
                                           typing_ = false;
                                           if (search) {
                                               // Routine while the page is being left or the tree is not
                                               // readable yet: looked at again every pass.
                                               finishRedirect(false, "no window shows the page", true);
                                           } else {
                                               finishRedirect(false, "timed out");
                                           }
                                           startNextRedirect();
                                       });
    }
}

void AccessibilityBrowserBridge::typeFrontRedirect(const AccessibilityElement& window) {
    // Copies: activating the browser notifies observers, which may queue further redirects (behind this
    // one: `typing_` is set).
    const std::string bundleId = queue_.front().bundleId;
    Typing typing{0, window, false, queue_.front().oldUrl, queue_.front().newUrl};
    const auto apps = ports_.workspace.runningApplications(bundleId);
    if (apps.empty()) {
        typing_ = false;
        finishRedirect(false, "not running");
        startNextRedirect();
        return;
    }
    const RunningApplication app = apps.front();
    typing.processId = app.processId;
    if (!app.isActive) {
        ports_.workspace.activate(app.processId);
        typing.pause = true;
    }
    keyboard_.submit<Outcome>([tree = tree_, keystrokes = keystrokes_, typing,
                               sleep = sleep_] { return typeURL(*tree, *keystrokes, typing, sleep); },
                              kKeystrokeDeadline,
                              [this](std::optional<Outcome> outcome) {
                                  typing_ = false;
                                  if (!outcome) {
                                      finishRedirect(false, "timed out");
                                      startNextRedirect();
                                      return;
                                  }
                                  switch (*outcome) {
                                  case Outcome::sent:
                                      finishRedirect(true, {});
                                      break;
                                  case Outcome::focusLost:
                                      finishRedirect(false, "the browser lost the keyboard focus");
                                      break;
                                  case Outcome::otherPage:
                                      finishRedirect(false, "its focused window shows another page");
                                      break;
                                  case Outcome::noEvent:
                                      finishRedirect(false, "keystrokes could not be posted");
                                      break;
                                  case Outcome::notRaised:
                                      finishRedirect(false, "its window could not be brought forward");
                                      break;
                                  case Outcome::untypable:
                                      finishRedirect(false, "the address cannot be typed");
                                      break;
                                  case Outcome::notVerified:
                                      finishRedirect(false,
                                                     "the address field did not hold the typed address");
                                      break;
                                  case Outcome::notConfirmed:
                                      finishRedirect(false, "the window did not show the new page");
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
        lastTyped_[{done.bundleId, done.oldUrl, done.newUrl}] = clock_.monotonicNow();
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
    // Forget redirects whose page has long loaded, so the map does not grow without bound.
    const auto now = clock_.monotonicNow();
    for (auto it = lastTyped_.begin(); it != lastTyped_.end();) {
        it = now - it->second >= kRepeatWindow ? lastTyped_.erase(it) : std::next(it);
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

AccessibilityBrowserBridge::WindowSearch
AccessibilityBrowserBridge::windowShowing(AccessibilityTree& tree, int processId, const std::string& url) {
    WindowSearch search;
    const auto app = tree.applicationElement(processId);
    const auto focused = tree.focusedWindow(app);
    search.focusKnown = focused.has_value();
    if (focused && shows(tree, *focused, url)) {
        search.window = focused;
        return search;
    }
    // A page in a background window: that window is brought forward.
    if (const auto windows = tree.children(app)) {
        for (const auto& window : *windows) {
            if (window != focused && shows(tree, window, url)) {
                search.window = window;
                break;
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
    if (typing.pause) {
        sleep(kActivationPause);
    }
    const auto app = tree.applicationElement(typing.processId);
    if (tree.focusedWindow(app) != typing.window && !tree.raiseWindow(typing.window)) {
        return Outcome::notRaised;
    }
    // Again after bringing it forward: the user may have switched windows meanwhile.
    std::optional<AccessibilityElement> window;
    for (auto waited = std::chrono::milliseconds::zero();; waited += kPollStep) {
        window = focusedWindowShowing(tree, typing.processId, typing.oldUrl);
        if (window && keystrokes.keyboardFocusProcess() == typing.processId) {
            break;
        }
        if (waited >= kFocusWait) {
            const auto focused = tree.focusedWindow(app);
            qCDebug(lcAutomation, "AX focused window %s %s does not show %s (raised %s)",
                    focused ? focused->owner.c_str() : "none", focused ? focused->path.c_str() : "",
                    typing.oldUrl.c_str(), typing.window.path.c_str());
            return window ? Outcome::focusLost : Outcome::otherPage;
        }
        sleep(kPollStep);
    }
    // Each group goes out only while the browser still has the focus: otherwise select-all and the URL
    // would land in whatever the user switched to.
    const auto group = [&](auto&& send) -> std::optional<Outcome> {
        if (keystrokes.keyboardFocusProcess() != typing.processId) {
            return Outcome::focusLost;
        }
        if (!send()) {
            return Outcome::noEvent;
        }
        return std::nullopt;
    };
    if (auto stop = group([&] { return keystrokes.focusAddressField(); })) {
        return *stop;
    }
    sleep(kAfterFocusPause);
    if (auto stop = group([&] { return keystrokes.selectAll(); })) {
        return *stop;
    }
    sleep(kAfterSelectPause);
    if (auto stop = group([&] { return keystrokes.typeText(*text); })) {
        return *stop;
    }
    sleep(kAfterTypePause);
    // Return loads whatever the field holds: only exactly the typed address goes out. The browser takes
    // a moment to take in a long burst of keys.
    const auto readBack = [&](std::chrono::milliseconds wait) {
        for (auto waited = std::chrono::milliseconds::zero();; waited += kPollStep) {
            if (tree.focusedTextEquals(*window, *text)) {
                return true;
            }
            if (waited >= wait) {
                return false;
            }
            sleep(kPollStep);
        }
    };
    if (!readBack(kReadBackWait)) {
        // An inline suggestion may have completed the text: Delete removes the selected rest.
        if (auto stop = group([&] { return keystrokes.pressDelete(); })) {
            return *stop;
        }
        sleep(kAfterDeletePause);
        if (!readBack(kPollStep * 5)) {
            return Outcome::notVerified;
        }
    }
    if (auto stop = group([&] { return keystrokes.pressReturn(); })) {
        return *stop;
    }
    for (auto waited = std::chrono::milliseconds::zero();; waited += kPollStep) {
        if (shows(tree, *window, *text) || shows(tree, *window, typing.url)) {
            return Outcome::sent;
        }
        if (waited >= kConfirmWait) {
            return Outcome::notConfirmed;
        }
        sleep(kPollStep);
    }
}

} // namespace kivo
