#include "browser-monitor/AccessibilityBrowserBridge.h"

#include "browser-monitor/AddressText.h"
#include "browser-monitor/BrowserWorkerPool.h"
#include "browser-monitor/GuardedAccessibilityTree.h"
#include "browser-monitor/GuardedInputMethod.h"
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
#include <utility>

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
      keystrokes_(std::make_shared<GuardedKeystrokeSink>(ports.keystrokes, gate_)),
      inputMethod_(std::make_shared<GuardedInputMethod>(ports.inputMethod, gate_)), workers_(workers),
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
    // Forget holds that have run out, so the list does not grow without bound.
    const auto now = clock_.monotonicNow();
    held_.erase(std::remove_if(held_.begin(), held_.end(), [&](const Hold& h) { return now >= h.until; }),
                held_.end());
    const auto failed = std::find_if(held_.begin(), held_.end(), [&](const Hold& h) {
        return h.scope == Hold::Scope::redirect && h.bundleId == bundleId && h.oldUrl == oldUrl &&
               h.newUrl == newUrl;
    });
    const bool queued = std::any_of(queue_.begin(), queue_.end(), [&](const PendingRedirect& p) {
        return p.bundleId == bundleId && p.oldUrl == oldUrl && p.newUrl == newUrl;
    });
    if (failed != held_.end() || queued) {
        qCDebug(lcAutomation, "AX redirect for %s: %s -> %s %s", bundleId.c_str(), oldUrl.c_str(),
                newUrl.c_str(), failed != held_.end() ? failed->why : "already queued");
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
        const PendingRedirect& next = queue_.front();
        const std::string bundleId = next.bundleId;
        const std::string oldUrl = next.oldUrl;
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
        // Windows and documents held for this redirect are passed over; any other that shows the URL is not.
        std::vector<HeldElement> heldWindows;
        std::vector<HeldElement> heldDocuments;
        for (const auto& h : held_) {
            if (h.bundleId != bundleId || h.oldUrl != oldUrl || h.newUrl != next.newUrl) {
                continue;
            }
            for (const auto& element : h.elements) {
                (h.scope == Hold::Scope::window ? heldWindows : heldDocuments).push_back({element, h.why});
            }
        }
        // First, without bringing anything forward: which window shows the URL at all? When none does, the
        // user is not pulled away from what they are doing for nothing. A window of the browser in front is
        // typed into in the same job; another is brought forward first.
        int activeProcess = 0;
        for (const auto& app : apps) {
            activeProcess = app.isActive ? app.processId : activeProcess;
        }
        auto cancel = std::make_shared<Cancellation>();
        cancel->deadline = std::chrono::steady_clock::now() + kKeystrokeDeadline - kDeadlineMargin;
        keyboard_.submit<SearchAndTyping>(
            [tree = tree_, keystrokes = keystrokes_, inputMethod = inputMethod_, sleep = sleep_, cancel,
             pids = processIds(apps), typing = Typing{0, {}, {}, false, false, oldUrl, next.newUrl},
             heldWindows, heldDocuments, activeProcess]() mutable {
                SearchAndTyping done{
                    windowShowing(*tree, pids, activeProcess, typing.oldUrl, heldWindows, heldDocuments), {}};
                if (done.search.window && done.search.processId == activeProcess) {
                    typing.processId = done.search.processId;
                    typing.window = *done.search.window;
                    typing.documents = done.search.documents;
                    typing.focused = done.search.focused;
                    done.typed = typeURL(*tree, *keystrokes, *inputMethod, typing, sleep, *cancel);
                }
                return done;
            },
            kKeystrokeDeadline,
            [this, bundleId, cancel](std::optional<SearchAndTyping> done) {
                if (!done) {
                    typedOut(std::nullopt, {}, *cancel);
                    return;
                }
                if (!done->search.focusKnown) {
                    // Typing needs the focused window: without it every redirect of this browser fails.
                    qCWarning(lcAutomation, "Cannot tell the focused window of %s", bundleId.c_str());
                }
                if (done->typed) {
                    typedOut(done->typed, *done->search.window, *cancel);
                    return;
                }
                if (done->search.window) {
                    typeFrontRedirect(done->search);
                    return;
                }
                typing_ = false;
                // Routine while the page is being left or the tree is not readable yet: looked at again every
                // pass.
                finishRedirect(
                    false, done->search.heldWhy ? done->search.heldWhy : "no window shows the page", true);
                startNextRedirect();
            });
    }
}

void AccessibilityBrowserBridge::typeFrontRedirect(const WindowSearch& search) {
    // Copies: activating the browser notifies observers, which may queue further redirects (behind this
    // one: `typing_` is set).
    const std::string bundleId = queue_.front().bundleId;
    Typing typing{search.processId,      *search.window,       search.documents, false, false,
                  queue_.front().oldUrl, queue_.front().newUrl};
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
    auto cancel = std::make_shared<Cancellation>();
    cancel->deadline = std::chrono::steady_clock::now() + kKeystrokeDeadline - kDeadlineMargin;
    keyboard_.submit<TypingResult>(
        [tree = tree_, keystrokes = keystrokes_, inputMethod = inputMethod_, typing, sleep = sleep_, cancel] {
            return typeURL(*tree, *keystrokes, *inputMethod, typing, sleep, *cancel);
        },
        kKeystrokeDeadline,
        [this, cancel, window = typing.window](std::optional<TypingResult> result) {
            typedOut(result, window, *cancel);
        });
}

void AccessibilityBrowserBridge::typedOut(const std::optional<TypingResult>& result,
                                          const AccessibilityElement& window, Cancellation& cancel) {
    typing_ = false;
    if (!result) {
        cancel.cancelled = true; // before the failure is reported: no key goes out after it
        hold(Hold::Scope::redirect, {}, kFailureHold, "failed recently");
        finishRedirect(false, "timed out");
        startNextRedirect();
        return;
    }
    const Outcome outcome = result->outcome;
    switch (outcome) {
    case Outcome::sent:
        // Normally none: the documents that showed the old URL are gone with the new page.
        hold(Hold::Scope::documents, result->documents, kRepeatWindow, "already typed");
        finishRedirect(true, {});
        break;
    case Outcome::stillLoading:
        // The old document stays until the new one comes; typing again would restart the load.
        hold(Hold::Scope::documents, result->documents, kLoadingHold, "still loading");
        finishRedirect(false, reason(outcome));
        break;
    case Outcome::noAddressField:
    case Outcome::fieldNotFocused:
    case Outcome::inputMethodUnusable:
        // The window's own failure: any other window showing the page is still redirected.
        hold(Hold::Scope::window, {window}, kFailureHold, "failed recently");
        finishRedirect(false, result->detail.empty() ? std::string(reason(outcome))
                                                     : std::string(reason(outcome)) + ": " + result->detail);
        break;
    case Outcome::untypable:
    case Outcome::tooLong:
    case Outcome::notVerified:
    case Outcome::notConfirmed:
    case Outcome::noEvent:
    case Outcome::pastDeadline:
        // Typing this redirect again would fail the same way.
        hold(Hold::Scope::redirect, {}, kFailureHold, "failed recently");
        finishRedirect(false, reason(outcome));
        break;
    default:
        finishRedirect(false, reason(outcome));
        break;
    }
    startNextRedirect();
}

void AccessibilityBrowserBridge::hold(Hold::Scope scope, std::vector<AccessibilityElement> elements,
                                      std::chrono::milliseconds span, const char* why) {
    if (scope != Hold::Scope::redirect && elements.empty()) {
        return;
    }
    const auto& r = queue_.front();
    held_.push_back(
        Hold{r.bundleId, r.oldUrl, r.newUrl, scope, std::move(elements), clock_.monotonicNow() + span, why});
}

void AccessibilityBrowserBridge::finishRedirect(bool sent, const std::string& why, bool routine) {
    PendingRedirect done = std::move(queue_.front());
    queue_.pop_front();
    // Visited addresses are private: only debug lines, off unless the user turns them on, name them.
    if (sent) {
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
    if (done.done) {
        done.done(sent);
    }
}

namespace {

// The documents of the window that show the URL.
std::vector<AccessibilityElement>
documentsShowing(AccessibilityTree& tree, const AccessibilityElement& window, const std::string& url) {
    std::vector<AccessibilityElement> found;
    for (const auto& page : webAreas(tree, window)) {
        if (const auto shown = tree.url(page); shown && AddressText::sameAddress(*shown, url)) {
            found.push_back(page);
        }
    }
    return found;
}

bool contains(const std::vector<AccessibilityElement>& elements, const AccessibilityElement& element) {
    return std::find(elements.begin(), elements.end(), element) != elements.end();
}

// How long each step of a keystroke sequence took, for the debug log.
class StepTimes {
public:
    void mark(const char* step) {
        const auto now = std::chrono::steady_clock::now();
        text_ += std::string(text_.empty() ? "" : ", ") + step + " " +
                 std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(now - last_).count());
        last_ = now;
    }
    ~StepTimes() { qCDebug(lcAutomation, "AX typing steps (ms): %s", text_.c_str()); }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
    std::string text_;
};

// Puts the user's input method back once, at the latest when the typing ends.
class InputMethodRestore {
public:
    InputMethodRestore(InputMethod& inputMethod, bool switched)
        : inputMethod_(inputMethod), pending_(switched), switched_(switched) {}
    InputMethodRestore(const InputMethodRestore&) = delete;
    InputMethodRestore& operator=(const InputMethodRestore&) = delete;
    ~InputMethodRestore() { now(); }
    void now() {
        if (std::exchange(pending_, false) && !inputMethod_.restore()) {
            qCWarning(lcAutomation, "the input method could not be put back; tried again at the next start");
        }
    }
    // Plain keys once more, after the user's engine was given back: an engine may take Escape for a key
    // of its own (Hangul to Latin). False when it cannot be had.
    bool plainAgain(int processId, WindowHandle window) {
        if (!switched_ || pending_) {
            return true;
        }
        const auto again = inputMethod_.typePlain(processId, window);
        pending_ = again.kind == PlainTyping::Kind::switched;
        return again.kind != PlainTyping::Kind::unusable && again.kind != PlainTyping::Kind::unfocused;
    }

private:
    InputMethod& inputMethod_;
    bool pending_;
    bool switched_;
};

struct TypedPiece {
    std::string text;
    bool paused = false; // sent a moment after the piece before
};

// The text in pieces of at most the chunk size; `paced`, one key a piece, each a moment after the last.
std::vector<TypedPiece> typedPieces(const std::string& text, bool paced) {
    std::vector<TypedPiece> pieces;
    for (const char c : text) {
        if (pieces.empty() || paced || pieces.back().text.size() >= AccessibilityBrowserBridge::kTypedChunk) {
            pieces.push_back({{}, paced && !pieces.empty()});
        }
        pieces.back().text += c;
    }
    return pieces;
}

} // namespace

const char* AccessibilityBrowserBridge::reason(Outcome outcome) {
    switch (outcome) {
    case Outcome::sent:
        return "sent";
    case Outcome::focusLost:
        return "the browser lost the keyboard focus";
    case Outcome::fieldLostFocus:
        return "the address field lost the focus";
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
        return "the window has no address field";
    case Outcome::fieldNotFocused:
        return "the address field did not take the focus";
    case Outcome::notVerified:
        return "the address field did not hold the typed address";
    case Outcome::stillLoading:
        return "the new page is still loading";
    case Outcome::notConfirmed:
        return "the window did not show the new page";
    case Outcome::pastDeadline:
        return "timed out";
    case Outcome::inputMethodUnusable:
        return "its input method cannot be put into plain typing";
    }
    return "unknown";
}

AccessibilityBrowserBridge::WindowSearch AccessibilityBrowserBridge::windowShowing(
    AccessibilityTree& tree, const std::vector<int>& processIds, int activeProcess, const std::string& url,
    const std::vector<HeldElement>& heldWindows, const std::vector<HeldElement>& heldDocuments) {
    WindowSearch search;
    const auto heldWhy = [](const std::vector<HeldElement>& held, const AccessibilityElement& element) {
        const auto it = std::find_if(held.begin(), held.end(),
                                     [&](const HeldElement& h) { return h.element == element; });
        return it == held.end() ? nullptr : it->why;
    };
    // A window shows the URL unheld when it is not held itself and a document of it that is not held shows
    // it.
    const auto consider = [&](int processId, const AccessibilityElement& window) {
        auto documents = documentsShowing(tree, window, url);
        if (documents.empty()) {
            return false;
        }
        const char* why = heldWhy(heldWindows, window);
        if (!why && std::all_of(documents.begin(), documents.end(), [&](const AccessibilityElement& d) {
                return heldWhy(heldDocuments, d) != nullptr;
            })) {
            why = heldWhy(heldDocuments, documents.front());
        }
        if (why) {
            search.heldWhy = why;
            return false;
        }
        search.window = window;
        search.processId = processId;
        search.documents = std::move(documents);
        return true;
    };
    // Each process of the browser: a second profile or a sibling build runs as a process of its own. The
    // focused windows come first, the front process's before the others' (a browser just started shows its
    // first page there), so the page is typed into where the user is, without walking every other window.
    std::vector<std::pair<int, AccessibilityElement>> apps;
    for (const int processId : processIds) {
        apps.emplace_back(processId, tree.applicationElement(processId));
    }
    std::stable_partition(apps.begin(), apps.end(),
                          [&](const auto& app) { return app.first == activeProcess; });
    std::vector<std::optional<AccessibilityElement>> focused;
    for (const auto& [processId, app] : apps) {
        focused.push_back(tree.focusedWindow(app));
        search.focusKnown = search.focusKnown || focused.back().has_value();
        if (focused.back() && consider(processId, *focused.back())) {
            search.focused = true;
            return search;
        }
    }
    // A page in a background window: that window is brought forward.
    for (std::size_t i = 0; i < apps.size(); ++i) {
        if (const auto windows = tree.children(apps[i].second)) {
            for (const auto& window : *windows) {
                if (window != focused[i] && consider(apps[i].first, window)) {
                    return search;
                }
            }
        }
    }
    return search;
}

AccessibilityBrowserBridge::TypingResult
AccessibilityBrowserBridge::typeURL(AccessibilityTree& tree, KeystrokeSink& keystrokes,
                                    InputMethod& inputMethod, const Typing& typing, const Sleep& sleep,
                                    const Cancellation& cancel) {
    // A line break would press Return part way through and load a half-typed address.
    if (AddressText::hasControlCharacter(typing.url)) {
        return {Outcome::untypable, {}};
    }
    const auto text = keystrokes.keyboardText(typing.url);
    if (!text || AddressText::hasControlCharacter(*text)) {
        return {Outcome::untypable, {}};
    }
    if (text->size() > kMaxTypedLength) {
        return {Outcome::tooLong, {}};
    }
    StepTimes steps;
    if (typing.pause) {
        sleep(kActivationPause);
    }
    const auto app = tree.applicationElement(typing.processId);
    // The window found focused a moment ago in the same job is not asked for again.
    auto focusedNow =
        typing.focused ? std::optional<AccessibilityElement>(typing.window) : tree.focusedWindow(app);
    if (focusedNow != typing.window) {
        if (!tree.raiseWindow(typing.window)) {
            return {Outcome::notRaised, {}};
        }
        focusedNow.reset();
    }
    // Again after bringing it forward: the user may have switched windows meanwhile. The window must be
    // the browser's active one and its desktop window must hold the keyboard focus.
    // Waits end after their time in pauses or in real time, whichever comes first: a slow browser's
    // answers count too.
    const auto over = [](std::chrono::milliseconds waited, std::chrono::steady_clock::time_point start,
                         std::chrono::milliseconds wait) {
        return waited >= wait || std::chrono::steady_clock::now() - start >= wait;
    };
    const auto waitFor = [&](std::chrono::milliseconds wait, std::chrono::milliseconds step, auto&& done) {
        const auto start = std::chrono::steady_clock::now();
        for (auto waited = std::chrono::milliseconds::zero();; waited += step) {
            if (done()) {
                return true;
            }
            if (over(waited, start, wait)) {
                return false;
            }
            sleep(step);
        }
    };
    std::optional<AccessibilityElement> window;
    std::optional<WindowHandle> handle;
    const bool focused = waitFor(kFocusWait, kPollStep, [&] {
        window = focusedNow ? std::exchange(focusedNow, std::nullopt) : tree.focusedWindow(app);
        if (window && documentsShowing(tree, *window, typing.oldUrl).empty()) {
            window.reset(); // the URL may come from another window than the focused one
        }
        handle = window ? tree.windowHandle(*window) : std::nullopt;
        return window && handle && tree.isActive(*window) && keystrokes.hasKeyboardFocus(*handle);
    });
    if (!focused) {
        qCDebug(lcAutomation, "AX focused window %s shows %s: %s, desktop window %llx, active %d, focus %d",
                window ? window->path.c_str() : "none", typing.oldUrl.c_str(), window ? "yes" : "no",
                static_cast<unsigned long long>(handle.value_or(0)), window && tree.isActive(*window),
                handle && keystrokes.hasKeyboardFocus(*handle));
        return {!window ? Outcome::otherPage : !handle ? Outcome::noWindowHandle : Outcome::focusLost, {}};
    }
    steps.mark("focus");
    // A window without an address field of its own (a site opened as an app window) gets no key at all.
    if (!tree.addressField(*window)) {
        return {Outcome::noAddressField, {}};
    }
    const auto pagesBefore = webAreas(tree, *window);
    const auto fieldFocused = [&] {
        const auto field = tree.addressField(*window);
        return field && field->focused;
    };
    // Each group goes out only before the deadline, and (after the shortcut, which follows the proof
    // above at once) while the address field still holds the focus; the sink proves the desktop's focus
    // again for every key, so no key lands in whatever the user switched or clicked to.
    const auto group = [&](bool inField, auto&& send) -> std::optional<Outcome> {
        if (cancel.over()) {
            return Outcome::pastDeadline;
        }
        if (inField && !fieldFocused()) {
            return Outcome::fieldLostFocus;
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
    steps.mark("field found");
    if (auto stop = group(false, [&] { return keystrokes.focusAddressField(*handle); })) {
        return {*stop, {}};
    }
    // A page, a developer console or a panel may take the shortcut for itself: the focus then stays
    // there, and nothing more is sent.
    // A window the user switched away from meanwhile, even for a moment, says nothing about where its
    // shortcut goes: only one that kept the keyboard throughout is held back for it.
    bool keptFocus = true;
    if (!waitFor(kAddressFieldWait, kAnswerPollStep, [&] {
            keptFocus = keptFocus && keystrokes.hasKeyboardFocus(*handle);
            return fieldFocused();
        })) {
        return {keptFocus ? Outcome::fieldNotFocused : Outcome::focusLost, {}};
    }
    steps.mark("shortcut");
    // The field's input method types plain keys for Kivo, and has the user's engine and mode back on every
    // way out, right after Return on the way that succeeds.
    PlainTyping plain = inputMethod.typePlain(typing.processId, *handle);
    // The input method is told of the field's focus a moment after the field has it, and not at all where
    // the page took the focus back meanwhile (Firefox moves it into a page that has just loaded): the
    // shortcut once more, as the first one, puts it into the field again and tells the input method.
    if (plain.kind == PlainTyping::Kind::unfocused) {
        if (auto stop = group(false, [&] { return keystrokes.focusAddressField(*handle); })) {
            return {*stop, {}};
        }
        if (!waitFor(kAddressFieldWait, kAnswerPollStep, fieldFocused)) {
            return {Outcome::fieldLostFocus, {}};
        }
        plain = inputMethod.typePlain(typing.processId, *handle);
    }
    if (plain.kind == PlainTyping::Kind::unusable || plain.kind == PlainTyping::Kind::unfocused) {
        return {Outcome::inputMethodUnusable, {}, plain.why};
    }
    InputMethodRestore restoreInputMethod(inputMethod, plain.kind == PlainTyping::Kind::switched);
    steps.mark("input method");
    // Whatever a failure leaves in the field goes: Escape gives it back its page's address (the first may
    // only close the suggestions). Only while the field holds the focus, as every key.
    const auto revert = [&](Outcome outcome) -> TypingResult {
        for (int i = 0; i < kRevertEscapes; ++i) {
            const auto field = tree.addressField(*window);
            if (!field || !field->focused || AddressText::sameShownAddress(field->text, typing.oldUrl) ||
                !restoreInputMethod.plainAgain(typing.processId, *handle) ||
                group(true, [&] { return keystrokes.pressEscape(*handle); })) {
                break;
            }
            waitFor(kReadBackWait / 4, kAnswerPollStep, [&] {
                const auto now = tree.addressField(*window);
                return !now || !now->focused || AddressText::sameShownAddress(now->text, typing.oldUrl);
            });
        }
        return {outcome, {}};
    };
    if (auto stop = group(true, [&] { return keystrokes.selectAll(*handle); })) {
        return {*stop, {}};
    }
    steps.mark("select-all");
    const bool paced = plain.kind != PlainTyping::Kind::none;
    std::string typed;
    for (const auto& piece : typedPieces(*text, paced)) {
        if (piece.paused) {
            sleep(kInputMethodKeyPause);
        }
        if (auto stop = group(true, [&] { return keystrokes.typeText(*handle, piece.text); })) {
            return revert(*stop);
        }
        typed += piece.text;
        // Through an input method the next key waits until this one shows in the field (a suggestion may
        // follow it): one that never shows was lost.
        if (paced && !waitFor(kReadBackWait, kAnswerPollStep, [&] {
                const auto field = tree.addressField(*window);
                return field && field->focused && field->text.compare(0, typed.size(), typed) == 0;
            })) {
            return revert(fieldFocused() ? Outcome::notVerified : Outcome::fieldLostFocus);
        }
    }
    steps.mark("text");
    // Return loads whatever the field holds: only exactly the typed address goes out. The browser takes
    // a moment to take in a long burst of keys.
    const auto holdsText = [&] {
        const auto field = tree.addressField(*window);
        return field && field->focused && field->text == *text;
    };
    if (!waitFor(kReadBackWait, kAnswerPollStep, holdsText)) {
        // An inline suggestion may have completed the text: Delete removes the selected rest.
        if (auto stop = group(true, [&] { return keystrokes.pressDelete(*handle); })) {
            return revert(*stop);
        }
        sleep(kAfterDeletePause);
        if (!waitFor(kPollStep * 5, kPollStep, holdsText)) {
            // A field that lost the focus (the user switched away) says nothing about its text.
            return revert(fieldFocused() ? Outcome::notVerified : Outcome::fieldLostFocus);
        }
    }
    steps.mark("read back");
    if (auto stop = group(true, [&] { return keystrokes.pressReturn(*handle); })) {
        return revert(*stop);
    }
    restoreInputMethod.now();
    steps.mark("return");
    // Only a new document of the typed address, loaded, shows the redirect happened: the old page's own
    // attributes may take the typed address before anything was asked of the server.
    bool underWay = false;
    std::vector<AccessibilityElement> oldShown;
    const auto loaded = [&] {
        const auto pages = webAreas(tree, *window);
        oldShown.clear();
        for (const auto& page : pages) {
            if (contains(typing.documents, page)) {
                oldShown.push_back(page);
            }
            const bool isNew = !contains(pagesBefore, page);
            const auto url = tree.url(page);
            const bool target =
                url && (AddressText::sameAddress(*url, *text) || AddressText::sameAddress(*url, typing.url));
            const auto loading = tree.isLoading(page);
            if (isNew && target && loading == false) {
                return true;
            }
            underWay = underWay || (isNew && target) || loading == true;
        }
        // A browser may keep the old document until the new one's answer comes, without saying it loads:
        // its address field, left by Return, then shows the typed address.
        if (!underWay && !oldShown.empty()) {
            const auto field = tree.addressField(*window);
            underWay = field && !field->focused &&
                       (AddressText::sameShownAddress(field->text, *text) ||
                        AddressText::sameShownAddress(field->text, typing.url));
        }
        return false;
    };
    const bool confirmed = waitFor(kConfirmWait, kAnswerPollStep, loaded);
    steps.mark("confirmation");
    if (confirmed) {
        return {Outcome::sent, oldShown};
    }
    if (!underWay) {
        const auto field = tree.addressField(*window);
        qCDebug(lcAutomation, "AX no new page; old pages shown %d, address field %s, focused %d",
                static_cast<int>(oldShown.size()), field ? field->text.c_str() : "none",
                field && field->focused);
    }
    if (underWay) {
        return {Outcome::stillLoading, oldShown};
    }
    // A Return that only ended a composition, or was lost: the field may still hold the typed address.
    auto result = revert(Outcome::notConfirmed);
    result.documents = oldShown;
    return result;
}

} // namespace kivo
