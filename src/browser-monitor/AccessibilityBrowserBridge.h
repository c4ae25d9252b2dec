#pragma once

#include "browser-monitor/ports/AccessibilityElement.h"
#include "browser-monitor/ports/WindowHandle.h"
#include "core/Clock.h"
#include "core/SerialWorker.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

class AccessibilityTree;
class BrowserWorkerPool;
class GuardedAccessibilityTree;
class GuardedInputMethod;
class InputMethod;
class GuardedKeystrokeSink;
class KeystrokeSink;
class PortGate;
class SettingsOpener;
class TimerFactory;
class Workspace;

// Reaches the browsers that have no scripting interface: reads the URLs of the web areas in a browser's
// accessibility tree, and redirects a tab by typing as a user would (focus the address field, select
// all, type the URL, Return). Entry points are called on the main thread and report there; the walk
// runs on the browser's worker, the keystrokes on one keyboard worker.
//
// Keys go only where they are proven to land: the window that shows the URL being replaced is brought
// forward first, and nothing is typed unless it is then the browser's active window, holds the keyboard
// focus, shows that URL and has an address field of its own (an app window gets no key at all), so
// another window's page (a half-written form, say) is never sent away in its place. The keystroke sink
// proves the focus again for each key. After the address-field shortcut that very address field (not a
// page's field, a console or a panel's search box) must hold the focus, and it must still hold it before
// select-all, before each part of the typed text and before Return, when it must also hold exactly the
// typed text; otherwise nothing more is sent. No key goes out once the job's deadline has passed. A
// redirect counts only when the window shows a new document of the typed address that has finished
// loading.
//
// Redirects are typed one after the other, never interleaved. What is held back, and from what: a
// document that still shows the old URL after its redirect was confirmed, for `kRepeatWindow`; the
// document a typed navigation is still replacing, for `kLoadingHold`; a window without an address field,
// or whose address field did not take the shortcut, for `kFailureHold`; and a redirect that failed in a way
// that would repeat itself (an untypable or too long address, a text that did not read back, a page that did
// not come, keys that could not be posted, a deadline passed), for `kFailureHold`. Any other window or new
// document that shows the URL (the user pressed Back, or opened the page again) is redirected at once.
class AccessibilityBrowserBridge {
public:
    using Sleep = std::function<void(std::chrono::milliseconds)>;
    using URLsHandler = std::function<void(std::optional<std::vector<std::string>>)>;

    static constexpr int kMaxDepth = 12;
    static constexpr std::chrono::milliseconds kWalkDeadline{5000};
    static constexpr std::chrono::milliseconds kKeystrokeDeadline{8000};
    static constexpr std::chrono::milliseconds kRepeatWindow{3000};
    static constexpr std::chrono::milliseconds kLoadingHold{10000};
    static constexpr std::chrono::milliseconds kFailureHold{30000};
    // Longer addresses are not typed: a burst of keys this long already takes the browser a while to take
    // in, and no shield or rule address comes near it.
    static constexpr std::size_t kMaxTypedLength = 2048;
    // The typed text goes out in parts this long, the address field proven to hold the focus before each.
    static constexpr std::size_t kTypedChunk = 32;
    static constexpr std::chrono::milliseconds kActivationPause{80};
    // A browser may complete the typed text inline with a suggestion; it settles this long after Delete.
    static constexpr std::chrono::milliseconds kAfterDeletePause{150};
    // How long a raised window may take to get the focus, and a typed address to show, polled in steps.
    static constexpr std::chrono::milliseconds kFocusWait{1000};
    static constexpr std::chrono::milliseconds kReadBackWait{1000};
    // How long the address field may take to get the focus after its shortcut.
    static constexpr std::chrono::milliseconds kAddressFieldWait{500};
    static constexpr std::chrono::milliseconds kConfirmWait{2500};
    static constexpr std::chrono::milliseconds kPollStep{20};
    // The browser's answers to keys are awaited in shorter steps: a read already takes longer than one.
    static constexpr std::chrono::milliseconds kAnswerPollStep{5};
    // Through an input method, two equal keys in a row go out this far apart: sent at once, the X server
    // stamps them with the same time, and the browser's input method module takes the second for the first
    // handed back, and drops it.
    static constexpr std::chrono::milliseconds kRepeatedKeyPause{4};
    // Escapes pressed at most to give the address field back its page's address after a failed redirect
    // (the first may only close the suggestions).
    static constexpr int kRevertEscapes = 2;
    // A keystroke job sends no key group this close to its deadline, so none is under way when the
    // deadline reports the failure.
    static constexpr std::chrono::milliseconds kDeadlineMargin{500};

    struct Ports {
        Workspace& workspace;
        AccessibilityTree& tree;
        KeystrokeSink& keystrokes;
        InputMethod* inputMethod = nullptr; // none: keys reach the browser as they are
    };

    // `sleep` makes the pauses of the keystroke sequence on the keyboard worker (real sleeps by default).
    AccessibilityBrowserBridge(Ports ports, BrowserWorkerPool& workers, const Clock& clock,
                               TimerFactory& timers, Sleep sleep = {});
    ~AccessibilityBrowserBridge();

    bool isTrusted();
    std::optional<int> processIdentifier(const std::string& bundleId);

    // The URLs of the web areas of every process of the browser (a second profile, a second build of the
    // same row), each once, in the order of the walk; none when the browser does not run, is still busy
    // with an earlier read, or shows no URL.
    void tabURLs(const std::string& bundleId, URLsHandler done);
    // True exactly when the whole keystroke sequence went to the browser.
    void redirect(const std::string& bundleId, const std::string& oldUrl, const std::string& newUrl,
                  std::function<void(bool)> done);
    // Asks every process of the browser to expose its full accessibility tree.
    void enableAccessibilityInterface(const std::string& bundleId);
    static void openAccessibilitySettings(SettingsOpener& opener);

    // The depth-first walk: web areas at depths 0 to kMaxDepth, never below a web area; an empty URL
    // text adds nothing; repeats removed, first occurrence kept.
    static std::vector<std::string> collectWebAreaURLs(AccessibilityTree& tree,
                                                       const AccessibilityElement& root);

    // Redirects waiting for the keyboard, including the one being typed.
    int pendingRedirects() const { return static_cast<int>(queue_.size()); }

private:
    struct PendingRedirect {
        std::string bundleId;
        std::string oldUrl;
        std::string newUrl;
        std::function<void(bool)> done;
    };
    enum class Outcome {
        sent,
        focusLost,
        fieldLostFocus,
        otherPage,
        noEvent,
        notRaised,
        untypable,
        tooLong,
        noWindowHandle,
        grabbed,
        modifierHeld,
        noAddressField,
        fieldNotFocused,
        notVerified,
        stillLoading,
        notConfirmed,
        pastDeadline,
        inputMethodUnusable
    };
    // A held element: a window or a document of it.
    struct HeldElement {
        AccessibilityElement element;
        const char* why;
    };
    // The browser window that shows a URL, the focused one first, its process and the documents in it
    // that show the URL.
    struct WindowSearch {
        std::optional<AccessibilityElement> window;
        int processId = 0;
        std::vector<AccessibilityElement> documents;
        bool focused = false;          // the window is its browser's focused one
        bool focusKnown = false;       // the focused window could be told
        const char* heldWhy = nullptr; // every window showing the URL is held, and why
    };
    // Set by the main thread when the job's deadline has reported its failure; the job also stops by its
    // own clock shortly before.
    struct Cancellation {
        std::atomic<bool> cancelled{false};
        std::chrono::steady_clock::time_point deadline;
        bool over() const { return cancelled.load() || std::chrono::steady_clock::now() >= deadline; }
    };
    struct Typing {
        int processId = 0;
        AccessibilityElement window;
        std::vector<AccessibilityElement> documents; // those that showed the old URL
        bool focused = false;                        // the window was its browser's focused one a moment ago
        bool pause = false;
        std::string oldUrl;
        std::string url;
    };
    struct TypingResult {
        Outcome outcome;
        std::vector<AccessibilityElement> documents; // old ones still shown at the end
        std::string detail = {};                     // what the input method said, when it stopped the typing
    };
    struct SearchAndTyping {
        WindowSearch search;
        std::optional<TypingResult> typed; // when the window was the front browser's
    };
    struct Hold {
        std::string bundleId;
        std::string oldUrl;
        std::string newUrl;
        enum class Scope { redirect, window, documents } scope;
        std::vector<AccessibilityElement> elements; // the window, or the documents
        Clock::Instant until;
        const char* why;
    };

    void startNextRedirect();
    void typeFrontRedirect(const WindowSearch& search);
    // Holds what the outcome calls for, reports it and goes on with the next redirect; none: timed out.
    void typedOut(const std::optional<TypingResult>& result, const AccessibilityElement& window,
                  Cancellation& cancel);
    void finishRedirect(bool sent, const std::string& why, bool routine = false);
    void hold(Hold::Scope scope, std::vector<AccessibilityElement> elements, std::chrono::milliseconds span,
              const char* why);
    static WindowSearch windowShowing(AccessibilityTree& tree, const std::vector<int>& processIds,
                                      int activeProcess, const std::string& url,
                                      const std::vector<HeldElement>& heldWindows,
                                      const std::vector<HeldElement>& heldDocuments);
    static const char* reason(Outcome outcome);
    static TypingResult typeURL(AccessibilityTree& tree, KeystrokeSink& keystrokes, InputMethod& inputMethod,
                                const Typing& typing, const Sleep& sleep, const Cancellation& cancel);

    Ports ports_;
    // Jobs hold the ports through these, never the ports themselves: a job still running when the bridge
    // goes (at quit, or stuck past its deadline) finds every call refused instead of a freed object.
    std::shared_ptr<PortGate> gate_;
    std::shared_ptr<GuardedAccessibilityTree> tree_;
    std::shared_ptr<GuardedKeystrokeSink> keystrokes_;
    std::shared_ptr<GuardedInputMethod> inputMethod_;
    BrowserWorkerPool& workers_;
    const Clock& clock_;
    Sleep sleep_;
    SerialWorker keyboard_;
    std::deque<PendingRedirect> queue_;
    bool typing_ = false;
    std::vector<Hold> held_;
};

} // namespace kivo
