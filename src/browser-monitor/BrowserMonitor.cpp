#include "browser-monitor/BrowserMonitor.h"

#include "browser-monitor/AutomationPermissionProbe.h"
#include "browser-monitor/SupportedBrowsers.h"
#include "core/Log.h"
#include "domain/DomainMatcher.h"
#include "domain/RedirectResolver.h"

namespace kivo {

BrowserMonitor::BrowserMonitor(Ports ports, const Clock& clock, TimerFactory& timers, QObject* parent,
                               AccessibilityBrowserBridge::Sleep keystrokePause)
    : QObject(parent), ports_(ports), routes_(ports.routes ? *ports.routes : tableRoutes_), clock_(clock),
      workers_(timers), scripts_(ports.scriptHost, workers_,
                                 [this](const std::string& bundleId, BrowserPermissionState state) {
                                     setPermissionState(bundleId, state);
                                 }),
      bridge_(
          AccessibilityBrowserBridge::Ports{ports.workspace, ports.tree, ports.keystrokes, ports.inputMethod},
          workers_, clock, timers, std::move(keystrokePause)),
      unseen_(ports.busBrowsers, ports.workspace, routes_, clock, timers,
              [this] { emit unseenBrowsersChanged(); }),
      redirectPrefixes_(std::make_shared<const std::vector<std::string>>()),
      ruleToGroup_(std::make_shared<const std::unordered_map<Uuid, BlockRuleGroup>>()),
      cachedActiveRules_(std::make_shared<const CompiledRules>()), pollTimer_(timers.createTimer()),
      delayedStopTimer_(timers.createTimer()) {
    pollTimer_->setSingleShot(true);
    pollTimer_->setCallback([this] {
        if (isPolling_) {
            pollOnce();
        }
    });
    delayedStopTimer_->setSingleShot(true);
    delayedStopTimer_->setCallback([this] { stopPolling(); });
}

BrowserMonitor::~BrowserMonitor() {
    blockSignals(true); // observers may already be gone; nothing is told about a monitor being destroyed
    stop();
}

// --- Lifecycle -----------------------------------------------------------------------------------------

void BrowserMonitor::start(GroupsProvider groupsProvider, AccessibilityPermissionFlow* accessibilityFlow) {
    if (isRunning_) {
        return;
    }
    isRunning_ = true;
    emit isRunningChanged();
    groupsProvider_ = std::move(groupsProvider);
    accessibilityFlow_ = accessibilityFlow;
    rebuildRuleIndex();
    refreshPermissionStates();

    const std::string frontmost = ports_.workspace.frontmostBundleId();
    setBrowserForeground(SupportedBrowsers::isSupported(frontmost));

    workspaceObserver_ = ports_.workspace.addActivationObserver([this](const std::string& bundleId) {
        if (isRunning_) {
            handleActivation(bundleId);
        }
    });
    workspaceLaunchObserver_ = ports_.workspace.addLaunchObserver([this](const std::string& bundleId) {
        const auto row = SupportedBrowsers::descriptor(bundleId);
        if (row && routes_.access(*row) == BrowserURLAccess::appleScript) {
            refreshPermissionState(bundleId);
        }
    });

    if (isBrowserForeground_) {
        handleFrontmostBrowser(frontmost);
        startPolling();
    }
}

void BrowserMonitor::stop() {
    setPolling(false);
    pollTimer_->stop();
    delayedStopTimer_->stop();
    if (workspaceObserver_) {
        ports_.workspace.removeObserver(*workspaceObserver_);
    }
    if (workspaceLaunchObserver_) {
        ports_.workspace.removeObserver(*workspaceLaunchObserver_);
    }
    workspaceObserver_.reset();
    workspaceLaunchObserver_.reset();
    setBrowserForeground(false);
    if (isRunning_) {
        isRunning_ = false;
        emit isRunningChanged();
    }
}

void BrowserMonitor::refreshRules() {
    rebuildRuleIndex();
}

void BrowserMonitor::rebuildRuleIndex() {
    if (!groupsProvider_) {
        return;
    }
    const auto groups = groupsProvider_();
    std::unordered_map<Uuid, BlockRuleGroup> index;
    for (const auto& group : groups) {
        for (const auto& rule : group.rules) {
            index.insert_or_assign(rule.id, group); // a repeated id maps to the later group
        }
    }
    auto prefixes = RedirectResolver::redirectPrefixes(groups);
    const bool changed = prefixes != *redirectPrefixes_ || index != *ruleToGroup_;
    // Fresh objects rather than edits: a pass in progress keeps deciding with the snapshot it took.
    redirectPrefixes_ = std::make_shared<const std::vector<std::string>>(std::move(prefixes));
    ruleToGroup_ = std::make_shared<const std::unordered_map<Uuid, BlockRuleGroup>>(std::move(index));
    if (changed) {
        emit ruleIndexChanged();
    }
    if (cachedMinute_) {
        cachedMinute_.reset();
        emit cachedMinuteChanged();
    }
}

// --- Permissions -----------------------------------------------------------------------------------------

void BrowserMonitor::refreshPermissionStates() {
    for (const auto& row : SupportedBrowsers::all()) {
        if (routes_.access(row) == BrowserURLAccess::appleScript) {
            refreshPermissionState(row.bundleId);
        }
    }
}

void BrowserMonitor::refreshPermissionState(const std::string& bundleId) {
    const auto fresh = AutomationPermissionProbe::permissionState(ports_.workspace, ports_.consent, bundleId);
    std::optional<BrowserPermissionState> stored;
    if (auto it = permissionStates_.find(bundleId); it != permissionStates_.end()) {
        stored = it->second;
    }
    if (auto next = BrowserPermissionState::merge(stored, fresh)) {
        setPermissionState(bundleId, *next);
    }
}

void BrowserMonitor::setPermissionState(const std::string& bundleId, BrowserPermissionState state) {
    permissionStates_[bundleId] = state;
    emit permissionStatesChanged(); // every write, as the banner expects
}

std::vector<std::string> BrowserMonitor::deniedBrowserNames() const {
    std::vector<std::string> names;
    for (const auto& row : SupportedBrowsers::all()) {
        if (routes_.access(row) != BrowserURLAccess::appleScript) {
            continue;
        }
        auto it = permissionStates_.find(row.bundleId);
        if (it != permissionStates_.end() && it->second == BrowserPermissionState::denied) {
            names.push_back(routes_.displayName(row));
        }
    }
    return names;
}

// --- The front application --------------------------------------------------------------------------------

void BrowserMonitor::handleActivation(const std::string& bundleId) {
    const bool was = isBrowserForeground_;
    const bool now = SupportedBrowsers::isSupported(bundleId);
    setBrowserForeground(now);
    if (now && !was) {
        handleFrontmostBrowser(bundleId);
        delayedStopTimer_->stop();
        if (isPolling_) {
            pollOnce(); // back within the grace period: one extra pass, the loop goes on
        } else {
            startPolling(); // its first pass runs at once
        }
    } else if (now && was) {
        handleFrontmostBrowser(bundleId);
    } else if (was && !now) {
        delayedStopTimer_->start(kStopDelay);
    }
}

void BrowserMonitor::handleFrontmostBrowser(const std::string& bundleId) {
    const auto row = SupportedBrowsers::descriptor(bundleId);
    if (!row || routes_.access(*row) != BrowserURLAccess::accessibility) {
        return;
    }
    if (bridge_.isTrusted()) {
        bridge_.enableAccessibilityInterface(bundleId);
    }
    if (accessibilityFlow_) {
        accessibilityFlow_->requestPrompt(row->bundleId, routes_.displayName(*row));
    }
}

void BrowserMonitor::startPolling() {
    // Only while a browser is in front: a loop started after the browser left would run with nothing to
    // stop it until the next time a browser leaves the front.
    if (isPolling_ || !isBrowserForeground_) {
        return;
    }
    setPolling(true);
    pollOnce();
}

void BrowserMonitor::stopPolling() {
    pollTimer_->stop();
    setPolling(false); // a pass in progress runs to its end
}

// --- The pass ------------------------------------------------------------------------------------------

void BrowserMonitor::pollOnce() {
    if (passRunning_) {
        passRequested_ = true;
        return;
    }
    runPass();
}

void BrowserMonitor::runPass() {
    passRunning_ = true;
    if (!groupsProvider_) {
        endPass();
        return;
    }
    const auto groups = groupsProvider_();
    const LocalTime local = clock_.localTime();
    const ActiveRulesKey key{local.year, local.month, local.day, local.minuteOfDay};
    if (cachedMinute_ != key) {
        auto active = DomainMatcher::activeRules(groups, local.weekday, local.minuteOfDay);
        const bool changed = active != cachedActiveRules_->rules();
        cachedActiveRules_ = std::make_shared<const CompiledRules>(std::move(active));
        cachedMinute_ = key;
        if (changed) {
            emit cachedActiveRulesChanged();
        }
        emit cachedMinuteChanged();
    }
    if (cachedActiveRules_->isEmpty()) {
        endPass(); // nothing can be caught: no browser is touched
        return;
    }
    std::vector<BrowserDescriptor> running;
    for (const auto& row : SupportedBrowsers::all()) {
        if (!ports_.workspace.runningApplications(row.bundleId).empty()) {
            running.push_back(row);
        }
    }
    if (running.empty()) {
        endPass();
        return;
    }
    // Count first: a browser can finish synchronously (skipped) before the others are started.
    browsersInPass_ = static_cast<int>(running.size()) + 1;
    const auto browserDone = [this] {
        if (--browsersInPass_ == 0) {
            endPass();
        }
    };
    const PassRules rules{cachedActiveRules_, redirectPrefixes_, ruleToGroup_};
    for (const auto& row : running) {
        checkBrowser(row, rules, browserDone);
    }
    browserDone();
}

void BrowserMonitor::endPass() {
    passRunning_ = false;
    emit passFinished();
    if (passRequested_) {
        passRequested_ = false;
        runPass();
        return;
    }
    if (isPolling_) {
        pollTimer_->start(kPollInterval); // counted from the end of the pass
    }
}

void BrowserMonitor::checkBrowser(const BrowserDescriptor& browser, const PassRules& rules,
                                  std::function<void()> done) {
    auto examine = [this, browser, rules, done](std::optional<std::vector<std::string>> urls) {
        if (!urls) {
            done();
            return;
        }
        workers_.submit<std::vector<RedirectDecision>>(
            browser.bundleId, [rules, urls = std::move(*urls)] { return rules.decide(urls); },
            AppleScriptExecutor::kTimeout,
            [this, browser, done](std::optional<std::vector<RedirectDecision>> decisions) {
                if (!decisions || decisions->empty()) {
                    done();
                    return;
                }
                redirectFrom(browser,
                             std::make_shared<const std::vector<RedirectDecision>>(std::move(*decisions)), 0,
                             done);
            });
    };
    if (routes_.access(browser) == BrowserURLAccess::accessibility) {
        if (!bridge_.isTrusted()) {
            done(); // prompts are raised when the browser comes to the front, not here
            return;
        }
        bridge_.tabURLs(browser.bundleId, std::move(examine));
        return;
    }
    if (workers_.isStuck(browser.bundleId)) {
        qCDebug(lcAutomation, "Skipping %s: an earlier script has not returned", browser.bundleId.c_str());
        done();
        return;
    }
    scripts_.readTabURLs(browser.bundleId, browser.engine, std::move(examine));
}

void BrowserMonitor::redirectFrom(const BrowserDescriptor& browser,
                                  std::shared_ptr<const std::vector<RedirectDecision>> decisions,
                                  std::size_t next, std::function<void()> done) {
    if (next >= decisions->size()) {
        done();
        return;
    }
    const RedirectDecision& decision = (*decisions)[next];
    auto continueAfter = [this, browser, decisions, next, done] {
        redirectFrom(browser, decisions, next + 1, done);
    };
    if (routes_.access(browser) == BrowserURLAccess::accessibility) {
        bridge_.redirect(browser.bundleId, decision.url, decision.target,
                         [continueAfter](bool) { continueAfter(); });
        return;
    }
    if (workers_.isStuck(browser.bundleId)) {
        done(); // a redirect that outlived its deadline: leave this browser alone until it returns
        return;
    }
    scripts_.redirectViaAppleScript(browser.bundleId, browser.engine, decision.url, decision.target,
                                    continueAfter);
}

// --- Properties ------------------------------------------------------------------------------------------

void BrowserMonitor::setBrowserForeground(bool value) {
    if (isBrowserForeground_ != value) {
        isBrowserForeground_ = value;
        emit isBrowserForegroundChanged();
    }
}

void BrowserMonitor::setPolling(bool value) {
    if (isPolling_ != value) {
        isPolling_ = value;
        emit isPollingChanged();
    }
}

} // namespace kivo
