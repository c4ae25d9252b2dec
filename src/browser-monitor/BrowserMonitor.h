#pragma once

#include "browser-monitor/AccessibilityBrowserBridge.h"
#include "browser-monitor/AccessibilityPermissionFlow.h"
#include "browser-monitor/ActiveRulesKey.h"
#include "browser-monitor/AppleScriptExecutor.h"
#include "browser-monitor/BrowserDescriptor.h"
#include "browser-monitor/BrowserPermissionState.h"
#include "browser-monitor/BrowserWorkerPool.h"
#include "browser-monitor/PassRules.h"
#include "browser-monitor/RedirectDecision.h"
#include "browser-monitor/TableBrowserRoutes.h"
#include "browser-monitor/UnseenBrowsers.h"
#include "browser-monitor/ports/Workspace.h"
#include "core/Clock.h"
#include "core/Timer.h"
#include "core/TimerFactory.h"
#include "domain/BlockRule.h"
#include "domain/BlockRuleGroup.h"
#include "domain/CompiledRules.h"
#include "domain/Uuid.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kivo {

class AccessibilityTree;
class AutomationConsent;
class InputMethod;
class KeystrokeSink;
class ScriptHost;

// Follows the frontmost application and, while a supported browser is in front (and for 3 seconds after
// it leaves), runs one poll pass a second: it reads the tab URLs of every running supported browser and
// sends each tab that an active block rule catches to its redirect target. It also keeps each scriptable
// browser's Automation permission for the main window, and names the browsers it cannot see (running
// natively on Wayland). Lives on the main thread; every platform call that can block runs on a worker
// with a deadline.
//
// One pass runs at a time: a pass asked for while one runs is run right after it. The loop waits one
// second from the end of a pass to the start of the next. Matching a browser's URLs against the active
// rules runs on that browser's worker too, against an immutable snapshot of the rules, so the main
// thread only hands out work and sends the redirects.
class BrowserMonitor : public QObject {
    Q_OBJECT
public:
    using GroupsProvider = std::function<std::vector<BlockRuleGroup>()>;

    struct Ports {
        Workspace& workspace;
        ScriptHost& scriptHost;
        AutomationConsent& consent;
        AccessibilityTree& tree;
        KeystrokeSink& keystrokes;
        BrowserRoutes* routes = nullptr;    // none: the table's own routes and names
        BusBrowsers* busBrowsers = nullptr; // none: every running browser is taken to be seen
        InputMethod* inputMethod = nullptr; // none: keys reach the browser as they are
    };

    static constexpr std::chrono::milliseconds kPollInterval{1000};
    static constexpr std::chrono::milliseconds kStopDelay{3000};

    // `keystrokePause` makes the pauses of the keystroke sequence (real sleeps by default).
    BrowserMonitor(Ports ports, const Clock& clock, TimerFactory& timers, QObject* parent = nullptr,
                   AccessibilityBrowserBridge::Sleep keystrokePause = {});
    ~BrowserMonitor() override;

    // Begins following the frontmost application; a second call changes nothing. The flow is held
    // weakly.
    void start(GroupsProvider groupsProvider, AccessibilityPermissionFlow* accessibilityFlow);
    // The groups changed: rebuild the rule index; the next pass recomputes the active rules.
    void refreshRules();
    void stop();
    // One poll pass now, or right after the pass that is running.
    void pollOnce();

    bool isRunning() const { return isRunning_; }
    bool isBrowserForeground() const { return isBrowserForeground_; }
    bool isPolling() const { return isPolling_; }
    bool isPassRunning() const { return passRunning_; }
    const std::map<std::string, BrowserPermissionState>& permissionStates() const {
        return permissionStates_;
    }
    // Display names, in table order, of the scriptable browsers whose Automation permission is denied.
    std::vector<std::string> deniedBrowserNames() const;
    // Display names, in table order, of the browsers that run where Kivo cannot see them: on the
    // accessibility bus without a desktop window it knows (natively on Wayland). Kept fresh only while
    // watched.
    const std::vector<std::string>& unseenBrowserNames() const { return unseen_.names(); }
    // While the returned token lives (the rule screens are shown), the bus is read every few seconds.
    std::shared_ptr<void> watchUnseenBrowsers() { return unseen_.watch(); }
    bool isReadingUnseenBrowsers() const { return unseen_.isReading(); }
    const std::vector<std::string>& redirectPrefixes() const { return *redirectPrefixes_; }
    const std::unordered_map<Uuid, BlockRuleGroup>& ruleToGroup() const { return *ruleToGroup_; }
    const std::vector<BlockRule>& cachedActiveRules() const { return cachedActiveRules_->rules(); }
    // None until computed, and again after refreshRules.
    const std::optional<ActiveRulesKey>& cachedMinute() const { return cachedMinute_; }
    const std::map<std::string, CompiledScripts>& compiledScripts() const {
        return scripts_.compiledScripts();
    }

signals:
    void isRunningChanged();
    void isBrowserForegroundChanged();
    void isPollingChanged();
    void permissionStatesChanged();
    void ruleIndexChanged(); // ruleToGroup and redirectPrefixes
    void cachedActiveRulesChanged();
    void cachedMinuteChanged();
    void passFinished();
    void unseenBrowsersChanged();

private:
    void rebuildRuleIndex();
    void refreshPermissionStates();
    void refreshPermissionState(const std::string& bundleId);
    void setPermissionState(const std::string& bundleId, BrowserPermissionState state);
    void handleActivation(const std::string& bundleId);
    void handleFrontmostBrowser(const std::string& bundleId);
    void startPolling();
    void stopPolling();

    void runPass();
    void endPass();
    void checkBrowser(const BrowserDescriptor& browser, const PassRules& rules, std::function<void()> done);
    void redirectFrom(const BrowserDescriptor& browser,
                      std::shared_ptr<const std::vector<RedirectDecision>> decisions, std::size_t next,
                      std::function<void()> done);

    void setBrowserForeground(bool value);
    void setPolling(bool value);

    Ports ports_;
    TableBrowserRoutes tableRoutes_;
    BrowserRoutes& routes_;
    const Clock& clock_;
    BrowserWorkerPool workers_;
    AppleScriptExecutor scripts_;
    AccessibilityBrowserBridge bridge_;
    UnseenBrowsers unseen_;

    bool isRunning_ = false;
    std::map<std::string, BrowserPermissionState> permissionStates_;
    GroupsProvider groupsProvider_;
    QPointer<AccessibilityPermissionFlow> accessibilityFlow_;
    std::shared_ptr<const std::vector<std::string>> redirectPrefixes_;
    std::shared_ptr<const std::unordered_map<Uuid, BlockRuleGroup>> ruleToGroup_;
    std::shared_ptr<const CompiledRules> cachedActiveRules_;
    std::optional<ActiveRulesKey> cachedMinute_;
    bool isBrowserForeground_ = false;
    std::optional<Workspace::ObserverToken> workspaceObserver_;
    std::optional<Workspace::ObserverToken> workspaceLaunchObserver_;

    bool isPolling_ = false;
    std::unique_ptr<Timer> pollTimer_;
    std::unique_ptr<Timer> delayedStopTimer_;
    bool passRunning_ = false;
    bool passRequested_ = false;
    int browsersInPass_ = 0;
};

} // namespace kivo
