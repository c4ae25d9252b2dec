#pragma once

#include "browser-monitor/AppleEventDescriptor.h"
#include "browser-monitor/AppleScriptResult.h"
#include "browser-monitor/ports/AccessibilityElement.h"
#include "browser-monitor/ports/AddressField.h"
#include "browser-monitor/ports/InputMethod.h"
#include "browser-monitor/ports/KeystrokeResult.h"
#include "browser-monitor/ports/RunningApplication.h"
#include "browser-monitor/ports/ScriptHost.h"
#include "browser-monitor/ports/WindowHandle.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

// An in-process desktop of applications for the browser-monitor ports: browsers with windows and a
// front tab each (the first window is the focused one, where typing goes), other applications with a
// text buffer (an editor), the frontmost application and the keyboard focus. The simulated workspace, script
// host, consent query, accessibility tree and keystroke sink all act on this one model, and tests steer it
// through the knobs below. Thread-safe: the ports are called from the main thread and from workers.
class SimulatedBrowserWorld {
public:
    // One node of a hand-made accessibility tree.
    struct AXNode {
        std::string role;
        std::optional<std::string> url;
        std::vector<AXNode> children;
        bool childrenReadable = true;
    };

    // One keystroke group as it reached an application; text typed in several parts in a row is one.
    struct Keystroke {
        std::string target; // bundle id of the application that had the focus
        std::string group;  // "focusAddressField", "selectAll", "type", "delete", "return", "escape"
        std::string text;   // the typed text for "type"
        friend bool operator==(const Keystroke&, const Keystroke&) = default;
    };

    struct RedirectEventRecord {
        std::string bundleId;
        std::string oldUrl;
        std::string newUrl;
        friend bool operator==(const RedirectEventRecord&, const RedirectEventRecord&) = default;
    };

    // Platform calls, counted by kind.
    struct CallCounts {
        int frontmostQueries = 0;
        int runningQueries = 0;
        int activations = 0;
        int compiles = 0;
        int scriptRuns = 0;
        int consentQueries = 0;
        int accessibilityCalls = 0;
        int keystrokeCalls = 0;
        int settingsOpens = 0;
        int automationSettingsOpens = 0;
        int inputMethodCalls = 0;
        int total() const {
            return frontmostQueries + runningQueries + activations + compiles + scriptRuns + consentQueries +
                   accessibilityCalls + keystrokeCalls + settingsOpens + automationSettingsOpens +
                   inputMethodCalls;
        }
    };

    enum class Consent { notAsked, granted, denied };

    SimulatedBrowserWorld();
    ~SimulatedBrowserWorld(); // releases hung calls and waits for every call in flight to return
    SimulatedBrowserWorld(const SimulatedBrowserWorld&) = delete;
    SimulatedBrowserWorld& operator=(const SimulatedBrowserWorld&) = delete;

    // --- The model ---------------------------------------------------------------------------------
    // Starts a browser (its engine from the supported table) with one window per URL; none stands for a
    // window whose front tab has no URL. Returns its process id. No notification is sent.
    int addBrowser(const std::string& bundleId, std::vector<std::optional<std::string>> windowURLs);
    // Starts an application that is not a browser, with some text in its buffer.
    int addApplication(const std::string& bundleId, const std::string& text = {});
    // addBrowser plus the launch notification.
    int launchBrowser(const std::string& bundleId, std::vector<std::optional<std::string>> windowURLs);
    void quit(const std::string& bundleId);
    // Brings the application to the front and gives it the keyboard focus, then notifies observers
    // (empty: no application in front).
    void activate(const std::string& bundleId);

    std::vector<std::optional<std::string>> windowURLs(const std::string& bundleId) const;
    void setWindowURLs(const std::string& bundleId, std::vector<std::optional<std::string>> windowURLs);
    // Opens another window of the browser behind its others, showing `url`; the other windows keep their
    // documents.
    void openWindow(const std::string& bundleId, const std::string& url);
    std::string text(const std::string& bundleId) const; // an application's text buffer
    std::string frontmost() const;

    // --- Knobs ---------------------------------------------------------------------------------------
    void setLatency(const std::string& bundleId, std::chrono::milliseconds latency); // scripts, tree root
    void setHanging(const std::string& bundleId, bool hanging); // runs and tree reads block until cleared
    void setCompileFails(const std::string& bundleId, bool fails);
    void setConsent(const std::string& bundleId, Consent consent);
    void setConsentStatus(const std::string& bundleId, std::optional<int> status); // overrides setConsent
    // The next `count` script runs of the browser fail with this error.
    void failNextScriptRuns(const std::string& bundleId, int count, int errorCode,
                            std::optional<std::string> message);
    // Script runs of the browser succeed with this raw output instead of the window URLs.
    void setScriptOutput(const std::string& bundleId, std::optional<std::string> output);
    // Both tell the tree's trust observers.
    void setTrusted(bool trusted);
    // The tree is still finding out whether Kivo is trusted (it is by default settled).
    void setTrustSettled(bool settled);
    void setAccessibilityTree(const std::string& bundleId, std::optional<AXNode> root);
    // Moves the keyboard focus without a change of the frontmost application (a panel, a click).
    void setKeyboardFocus(const std::string& bundleId);
    // After `groups` more keystroke groups have arrived, the keyboard focus moves to `bundleId`.
    void switchFocusAfterKeystrokes(int groups, const std::string& bundleId);
    // After `groups` more keystroke groups have reached the browser, the user clicks into its page's field:
    // the address field loses the focus and further keys land in the page (the browser's `text`).
    void moveFocusIntoPageAfterKeystrokes(int groups);
    // Typing into the browser's address field completes the text with `suffix`, selected, as a browser's
    // inline suggestion does; Delete removes it unless it `sticks`.
    void setAutofill(const std::string& bundleId, const std::string& suffix, bool sticks = false);
    // Return in the address field is lost: nothing loads and the field shows the page's address again.
    void setNavigationStalled(const std::string& bundleId, bool stalled);
    // Return starts a navigation that keeps the old page, without a word of loading, until
    // `commitPendingNavigation`; meanwhile the address field, left by Return, shows the typed address.
    void setNavigationPending(const std::string& bundleId, bool pending);
    void commitPendingNavigation(const std::string& bundleId);
    // The browser's windows have no address field (sites opened as app windows).
    void setHasAddressField(const std::string& bundleId, bool has);
    // The desktop refuses to bring applications to the front.
    void setActivationRefused(bool refused);
    // Another program holds the keyboard (a screen locker): no key goes out.
    void setKeyboardGrabbed(bool grabbed);
    // The user holds a modifier key: no key goes out.
    void setModifierHeld(bool held);
    // The browser's page takes the address-field shortcut itself and keeps the focus, as a web terminal
    // does (or an app window without an address field): further keys land in its field (the `text`).
    void setPageTakesShortcut(const std::string& bundleId, bool takes);
    // Pages the browser navigates to stay loading.
    void setLoadsSlowly(const std::string& bundleId, bool slowly);
    // Return only changes the old page's URL: no new document comes.
    void setOldPageTakesAddress(const std::string& bundleId, bool takes);
    // The browser's desktop windows cannot be told apart.
    void setWindowHandlesUnknown(const std::string& bundleId, bool unknown);

    // The input method every application's keys go through.
    struct InputMethodModel {
        bool present = false;  // none: keys arrive as they are
        bool composes = false; // the user's engine holds typed text as a composition that Return only ends
        bool losesQueuedKeys = false; // a key that comes while the last is still with it is lost: of
                                      // several keys in one burst, all but the first
        bool switchable = true;       // it can be put into plain keyboard input
        std::optional<PlainTyping::Kind> claims = std::nullopt; // what it says it did, whatever it did
        int toldOfFocusAtShortcut = 1; // the address field shortcut after which the browser has told it of
                                       // the field's focus; 0: never
        bool plain = false;            // in plain keyboard input now
        friend bool operator==(const InputMethodModel&, const InputMethodModel&) = default;
    };
    void setInputMethod(const InputMethodModel& model);
    InputMethodModel inputMethod() const;

    // --- What happened -------------------------------------------------------------------------------
    CallCounts callCounts() const;
    void resetCallCounts();
    std::vector<Keystroke> keystrokes() const;
    std::vector<RedirectEventRecord> redirectEvents() const;
    std::vector<std::pair<std::string, std::string>> booleanAttributesSet() const; // bundle id, name
    int maxConcurrentRuns(const std::string& bundleId) const;
    int maxConcurrentRunsOverall() const;
    int callsInFlight() const;
    // Calls in flight that are held by setHanging: when it equals callsInFlight, only a deadline moves on.
    int callsHanging() const;
    // Forgets the keystrokes, redirect events and attributes seen so far (long runs keep memory flat).
    void clearRecords();

    // --- Entry points of the simulated ports (not for tests) -----------------------------------------
    std::string portFrontmostBundleId();
    std::vector<RunningApplication> portRunningApplications(const std::string& bundleId);
    bool portActivate(int processId);
    int portAddObserver(bool launch, std::function<void(const std::string&)> handler);
    void portRemoveObserver(int token);
    ScriptHost::CompileResult portCompile(const std::string& source);
    AppleScriptResult portRunTabScript(const std::string& bundleId);
    AppleScriptResult portRunRedirectScript(const std::string& bundleId, const AppleEventDescriptor* event);
    int portPermissionToAutomate(const std::string& bundleId);
    bool portIsTrusted();
    bool portIsTrustSettled();
    int portAddTrustObserver(std::function<void()> observer);
    void portRemoveTrustObserver(int token);
    AccessibilityElement portApplicationElement(int processId);
    std::optional<std::string> portRole(const AccessibilityElement& element);
    std::optional<std::string> portURL(const AccessibilityElement& element);
    std::optional<std::vector<AccessibilityElement>> portChildren(const AccessibilityElement& element);
    std::optional<AccessibilityElement> portFocusedWindow(const AccessibilityElement& application);
    bool portRaiseWindow(const AccessibilityElement& window);
    std::optional<AddressField> portAddressField(const AccessibilityElement& window);
    std::optional<WindowHandle> portWindowHandle(const AccessibilityElement& window);
    bool portIsActive(const AccessibilityElement& window);
    std::optional<bool> portIsLoading(const AccessibilityElement& webArea);
    bool portSetBooleanAttribute(const AccessibilityElement& element, const std::string& name, bool value);
    bool portHasKeyboardFocus(WindowHandle window);
    KeystrokeResult portKeystroke(const std::string& group, const std::string& text, WindowHandle window);
    PlainTyping portTypePlain();
    bool portRestoreInputMethod();
    bool portOpenAccessibilitySettings();
    bool portOpenAutomationSettings();

private:
    struct App;
    struct Knobs;
    class InFlight;

    Knobs& knobsLocked(const std::string& bundleId);
    // None when no knob of the browser was ever turned. Knobs are never removed, so the pointer stays good.
    Knobs* findKnobsLocked(const std::string& bundleId) const;
    App* findLocked(const std::string& bundleId) const;
    App* findByPidLocked(int pid) const;
    // The process an element belongs to.
    App* appOfLocked(const AccessibilityElement& element) const;
    void notify(bool launch, const std::string& bundleId);
    void notifyTrust();
    void waitOutKnobsLocked(std::unique_lock<std::mutex>& lock, const std::string& bundleId);
    // What a script run answers before its script runs: no such application, no consent, a planted failure.
    std::optional<AppleScriptResult> scriptRunRefusalLocked(const std::string& bundleId);
    // The tree of the application's process `app` (none: its first process).
    std::optional<AXNode> treeLocked(const std::string& bundleId, const App* app = nullptr) const;
    std::optional<AXNode> resolveLocked(const AccessibilityElement& element) const;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<App>> apps_;
    std::map<std::string, std::unique_ptr<Knobs>> knobs_;
    std::map<int, std::pair<bool, std::function<void(const std::string&)>>> observers_;
    int nextObserver_ = 1;
    int nextPid_ = 1000;
    int frontPid_ = 0;
    int focusPid_ = 0;
    std::map<int, std::function<void()>> trustObservers_;
    bool trusted_ = true;
    bool trustSettled_ = true;
    bool activationRefused_ = false;
    bool keyboardGrabbed_ = false;
    bool modifierHeld_ = false;
    InputMethodModel inputMethod_;
    bool shuttingDown_ = false;
    int focusSwitchAfter_ = -1;
    int pageFocusAfter_ = -1;
    std::string focusSwitchTo_;
    CallCounts counts_;
    std::vector<Keystroke> keystrokes_;
    std::vector<RedirectEventRecord> redirectEvents_;
    std::vector<std::pair<std::string, std::string>> attributes_;
    std::map<std::string, int> inFlightPerApp_;
    std::map<std::string, int> maxInFlightPerApp_;
    int inFlight_ = 0;
    int hanging_ = 0;
    int maxInFlight_ = 0;
};

} // namespace kivo
