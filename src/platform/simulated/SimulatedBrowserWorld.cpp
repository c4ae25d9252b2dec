#include "platform/simulated/SimulatedBrowserWorld.h"

#include "browser-monitor/BrowserEngine.h"
#include "browser-monitor/BrowserScripts.h"
#include "browser-monitor/SupportedBrowsers.h"
#include "browser-monitor/ports/AutomationConsent.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace kivo {

struct SimulatedBrowserWorld::App {
    std::string bundleId;
    int pid = 0;
    bool isBrowser = false;
    BrowserEngine engine = BrowserEngine::safari;
    std::vector<std::optional<std::string>> windows;
    std::string text; // an editor's buffer
    // The address field of the front window, while a keystroke sequence edits it.
    bool addressFocused = false;
    bool selected = false;
    std::string addressText;
    std::string autofill;                      // what the browser completes typed text with, selected
    bool autofillSticks = false;               // Delete does not remove it
    bool navigationStalled = false;            // Return is lost
    bool navigationPending = false;            // Return starts a navigation that commits only when told
    std::optional<std::string> pendingAddress; // the typed address of a navigation under way
    bool hasAddressField = true;               // false: app windows
    bool pageFocused = false;                  // the user clicked into the page's field
    std::vector<WindowHandle> handles;         // one per window, moving with it
    int generation = 0;                        // of the pages shown: a navigation makes new document objects
    bool pageTakesShortcut = false;   // the address-field shortcut goes to the page, which keeps the focus
    bool loadsSlowly = false;         // a new page stays loading
    bool oldPageTakesAddress = false; // Return changes the old page's URL but loads nothing
    bool handlesUnknown = false;      // its desktop windows cannot be told apart
    bool composing = false;           // the address field holds an input method's composition
};

struct SimulatedBrowserWorld::Knobs {
    std::chrono::milliseconds latency{0};
    bool hanging = false;
    bool compileFails = false;
    Consent consent = Consent::notAsked;
    std::optional<int> consentStatus;
    int failCount = 0;
    int failCode = 0;
    std::optional<std::string> failMessage;
    bool overrideOutput = false;
    std::optional<std::string> output;
    std::optional<AXNode> tree;
};

// Counts one platform call in flight for the duration of a scope (the world waits for them on exit).
class SimulatedBrowserWorld::InFlight {
public:
    InFlight(SimulatedBrowserWorld& world, std::string bundleId)
        : world_(world), bundleId_(std::move(bundleId)) {
        const int n = ++world_.inFlightPerApp_[bundleId_];
        world_.maxInFlightPerApp_[bundleId_] = std::max(world_.maxInFlightPerApp_[bundleId_], n);
        ++world_.inFlight_;
        world_.maxInFlight_ = std::max(world_.maxInFlight_, world_.inFlight_);
    }
    ~InFlight() {
        --world_.inFlightPerApp_[bundleId_];
        --world_.inFlight_;
        world_.changed_.notify_all();
    }

private:
    SimulatedBrowserWorld& world_;
    std::string bundleId_;
};

namespace {

enum class ScriptKind { tabURLs, redirect };

class SimulatedCompiledScript final : public CompiledScript {
public:
    SimulatedCompiledScript(SimulatedBrowserWorld& world, std::string bundleId, ScriptKind kind)
        : world_(world), bundleId_(std::move(bundleId)), kind_(kind) {}

    AppleScriptResult execute() override {
        if (kind_ == ScriptKind::tabURLs) {
            return world_.portRunTabScript(bundleId_);
        }
        // The redirect script's top level only defines its handler.
        return world_.portRunRedirectScript(bundleId_, nullptr);
    }
    AppleScriptResult executeEvent(const AppleEventDescriptor& event) override {
        if (kind_ == ScriptKind::tabURLs) {
            return AppleScriptResult{std::nullopt, -1708,
                                     std::string("the script does not understand the event")};
        }
        return world_.portRunRedirectScript(bundleId_, &event);
    }

private:
    SimulatedBrowserWorld& world_;
    std::string bundleId_;
    ScriptKind kind_;
};

// The index of a window element ("/2"); none for any other element.
std::optional<std::size_t> windowIndex(const std::string& path) {
    if (path.size() < 2 || path[0] != '/' || path.find_first_not_of("0123456789", 1) != std::string::npos) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(std::stoul(path.substr(1)));
}

std::string elementOwner(const std::string& bundleId, int pid) {
    return bundleId + "#" + std::to_string(pid);
}

} // namespace

SimulatedBrowserWorld::SimulatedBrowserWorld() = default;

SimulatedBrowserWorld::~SimulatedBrowserWorld() {
    std::unique_lock lock(mutex_);
    shuttingDown_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return inFlight_ == 0; });
}

// --- The model -----------------------------------------------------------------------------------------

int SimulatedBrowserWorld::addBrowser(const std::string& bundleId,
                                      std::vector<std::optional<std::string>> windowURLs) {
    std::lock_guard lock(mutex_);
    auto app = std::make_unique<App>();
    app->bundleId = bundleId;
    app->pid = nextPid_++;
    app->isBrowser = true;
    if (auto row = SupportedBrowsers::descriptor(bundleId)) {
        app->engine = row->engine;
    }
    app->windows = std::move(windowURLs);
    for (std::size_t i = 0; i < app->windows.size(); ++i) {
        app->handles.push_back(static_cast<WindowHandle>(app->pid) * 1000 + i + 1);
    }
    const int pid = app->pid;
    apps_.push_back(std::move(app));
    return pid;
}

int SimulatedBrowserWorld::addApplication(const std::string& bundleId, const std::string& text) {
    std::lock_guard lock(mutex_);
    auto app = std::make_unique<App>();
    app->bundleId = bundleId;
    app->pid = nextPid_++;
    app->text = text;
    const int pid = app->pid;
    apps_.push_back(std::move(app));
    return pid;
}

int SimulatedBrowserWorld::launchBrowser(const std::string& bundleId,
                                         std::vector<std::optional<std::string>> windowURLs) {
    const int pid = addBrowser(bundleId, std::move(windowURLs));
    notify(true, bundleId);
    return pid;
}

void SimulatedBrowserWorld::quit(const std::string& bundleId) {
    std::lock_guard lock(mutex_);
    apps_.erase(
        std::remove_if(apps_.begin(), apps_.end(), [&](const auto& a) { return a->bundleId == bundleId; }),
        apps_.end());
}

void SimulatedBrowserWorld::activate(const std::string& bundleId) {
    {
        std::lock_guard lock(mutex_);
        const App* app = findLocked(bundleId);
        frontPid_ = app ? app->pid : 0;
        focusPid_ = frontPid_;
    }
    notify(false, bundleId);
}

std::vector<std::optional<std::string>> SimulatedBrowserWorld::windowURLs(const std::string& bundleId) const {
    std::lock_guard lock(mutex_);
    const App* app = findLocked(bundleId);
    return app ? app->windows : std::vector<std::optional<std::string>>{};
}

void SimulatedBrowserWorld::setWindowURLs(const std::string& bundleId,
                                          std::vector<std::optional<std::string>> windowURLs) {
    std::lock_guard lock(mutex_);
    if (App* app = findLocked(bundleId)) {
        app->windows = std::move(windowURLs);
        app->pendingAddress.reset(); // the user's own navigation replaces one under way
        ++app->generation;
        for (std::size_t i = app->handles.size(); i < app->windows.size(); ++i) {
            app->handles.push_back(static_cast<WindowHandle>(app->pid) * 1000 + i + 1);
        }
    }
}

void SimulatedBrowserWorld::openWindow(const std::string& bundleId, const std::string& url) {
    std::lock_guard lock(mutex_);
    if (App* app = findLocked(bundleId)) {
        app->windows.emplace_back(url);
        for (std::size_t i = app->handles.size(); i < app->windows.size(); ++i) {
            app->handles.push_back(static_cast<WindowHandle>(app->pid) * 1000 + i + 1);
        }
    }
}

std::string SimulatedBrowserWorld::text(const std::string& bundleId) const {
    std::lock_guard lock(mutex_);
    const App* app = findLocked(bundleId);
    return app ? app->text : std::string();
}

std::string SimulatedBrowserWorld::frontmost() const {
    std::lock_guard lock(mutex_);
    const App* app = findByPidLocked(frontPid_);
    return app ? app->bundleId : std::string();
}

// --- Knobs -----------------------------------------------------------------------------------------------

SimulatedBrowserWorld::Knobs& SimulatedBrowserWorld::knobsLocked(const std::string& bundleId) {
    auto& slot = knobs_[bundleId];
    if (!slot) {
        slot = std::make_unique<Knobs>();
    }
    return *slot;
}

void SimulatedBrowserWorld::setLatency(const std::string& bundleId, std::chrono::milliseconds latency) {
    std::lock_guard lock(mutex_);
    knobsLocked(bundleId).latency = latency;
}

void SimulatedBrowserWorld::setHanging(const std::string& bundleId, bool hanging) {
    {
        std::lock_guard lock(mutex_);
        knobsLocked(bundleId).hanging = hanging;
    }
    changed_.notify_all();
}

void SimulatedBrowserWorld::setCompileFails(const std::string& bundleId, bool fails) {
    std::lock_guard lock(mutex_);
    knobsLocked(bundleId).compileFails = fails;
}

void SimulatedBrowserWorld::setConsent(const std::string& bundleId, Consent consent) {
    std::lock_guard lock(mutex_);
    knobsLocked(bundleId).consent = consent;
}

void SimulatedBrowserWorld::setConsentStatus(const std::string& bundleId, std::optional<int> status) {
    std::lock_guard lock(mutex_);
    knobsLocked(bundleId).consentStatus = status;
}

void SimulatedBrowserWorld::failNextScriptRuns(const std::string& bundleId, int count, int errorCode,
                                               std::optional<std::string> message) {
    std::lock_guard lock(mutex_);
    Knobs& k = knobsLocked(bundleId);
    k.failCount = count;
    k.failCode = errorCode;
    k.failMessage = std::move(message);
}

void SimulatedBrowserWorld::setScriptOutput(const std::string& bundleId, std::optional<std::string> output) {
    std::lock_guard lock(mutex_);
    Knobs& k = knobsLocked(bundleId);
    k.overrideOutput = true;
    k.output = std::move(output);
}

void SimulatedBrowserWorld::setAccessibilityTree(const std::string& bundleId, std::optional<AXNode> root) {
    std::lock_guard lock(mutex_);
    knobsLocked(bundleId).tree = std::move(root);
}

void SimulatedBrowserWorld::setTrusted(bool trusted) {
    {
        std::lock_guard lock(mutex_);
        trusted_ = trusted;
    }
    notifyTrust();
}

void SimulatedBrowserWorld::setTrustSettled(bool settled) {
    {
        std::lock_guard lock(mutex_);
        trustSettled_ = settled;
    }
    notifyTrust();
}

void SimulatedBrowserWorld::setKeyboardFocus(const std::string& bundleId) {
    std::lock_guard lock(mutex_);
    const App* app = findLocked(bundleId);
    focusPid_ = app ? app->pid : 0;
}

void SimulatedBrowserWorld::switchFocusAfterKeystrokes(int groups, const std::string& bundleId) {
    std::lock_guard lock(mutex_);
    focusSwitchAfter_ = groups;
    focusSwitchTo_ = bundleId;
}

void SimulatedBrowserWorld::moveFocusIntoPageAfterKeystrokes(int groups) {
    std::lock_guard lock(mutex_);
    pageFocusAfter_ = groups;
}

void SimulatedBrowserWorld::setActivationRefused(bool refused) {
    std::lock_guard lock(mutex_);
    activationRefused_ = refused;
}

// --- What happened ---------------------------------------------------------------------------------------

SimulatedBrowserWorld::CallCounts SimulatedBrowserWorld::callCounts() const {
    std::lock_guard lock(mutex_);
    return counts_;
}

void SimulatedBrowserWorld::resetCallCounts() {
    std::lock_guard lock(mutex_);
    counts_ = CallCounts{};
}

std::vector<SimulatedBrowserWorld::Keystroke> SimulatedBrowserWorld::keystrokes() const {
    std::lock_guard lock(mutex_);
    return keystrokes_;
}

std::vector<SimulatedBrowserWorld::RedirectEventRecord> SimulatedBrowserWorld::redirectEvents() const {
    std::lock_guard lock(mutex_);
    return redirectEvents_;
}

std::vector<std::pair<std::string, std::string>> SimulatedBrowserWorld::booleanAttributesSet() const {
    std::lock_guard lock(mutex_);
    return attributes_;
}

int SimulatedBrowserWorld::maxConcurrentRuns(const std::string& bundleId) const {
    std::lock_guard lock(mutex_);
    auto it = maxInFlightPerApp_.find(bundleId);
    return it == maxInFlightPerApp_.end() ? 0 : it->second;
}

int SimulatedBrowserWorld::maxConcurrentRunsOverall() const {
    std::lock_guard lock(mutex_);
    return maxInFlight_;
}

int SimulatedBrowserWorld::callsInFlight() const {
    std::lock_guard lock(mutex_);
    return inFlight_;
}

int SimulatedBrowserWorld::callsHanging() const {
    std::lock_guard lock(mutex_);
    return hanging_;
}

void SimulatedBrowserWorld::clearRecords() {
    std::lock_guard lock(mutex_);
    keystrokes_.clear();
    redirectEvents_.clear();
    attributes_.clear();
}

// --- Helpers -------------------------------------------------------------------------------------------

SimulatedBrowserWorld::Knobs* SimulatedBrowserWorld::findKnobsLocked(const std::string& bundleId) const {
    auto it = knobs_.find(bundleId);
    return it == knobs_.end() ? nullptr : it->second.get();
}

SimulatedBrowserWorld::App* SimulatedBrowserWorld::findLocked(const std::string& bundleId) const {
    for (const auto& a : apps_) {
        if (a->bundleId == bundleId) {
            return a.get();
        }
    }
    return nullptr;
}

SimulatedBrowserWorld::App* SimulatedBrowserWorld::findByPidLocked(int pid) const {
    for (const auto& a : apps_) {
        if (a->pid == pid) {
            return a.get();
        }
    }
    return nullptr;
}

void SimulatedBrowserWorld::notify(bool launch, const std::string& bundleId) {
    std::vector<std::function<void(const std::string&)>> handlers;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [token, entry] : observers_) {
            if (entry.first == launch) {
                handlers.push_back(entry.second);
            }
        }
    }
    for (const auto& h : handlers) {
        h(bundleId);
    }
}

void SimulatedBrowserWorld::notifyTrust() {
    std::vector<std::function<void()>> handlers;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [token, handler] : trustObservers_) {
            handlers.push_back(handler);
        }
    }
    for (const auto& h : handlers) {
        h();
    }
}

void SimulatedBrowserWorld::waitOutKnobsLocked(std::unique_lock<std::mutex>& lock,
                                               const std::string& bundleId) {
    Knobs* k = findKnobsLocked(bundleId);
    if (!k) {
        return;
    }
    const auto latency = k->latency;
    if (latency.count() > 0) {
        lock.unlock();
        std::this_thread::sleep_for(latency);
        lock.lock();
    }
    if (k->hanging && !shuttingDown_) {
        ++hanging_;
        changed_.wait(lock, [&] { return shuttingDown_ || !k->hanging; });
        --hanging_;
    }
}

std::optional<SimulatedBrowserWorld::AXNode> SimulatedBrowserWorld::treeLocked(const std::string& bundleId,
                                                                               const App* app) const {
    if (const Knobs* k = findKnobsLocked(bundleId); k && k->tree) {
        return k->tree;
    }
    app = app ? app : findLocked(bundleId);
    if (!app) {
        return std::nullopt;
    }
    AXNode root{"AXApplication", std::nullopt, {}, true};
    for (const auto& url : app->windows) {
        AXNode web{"AXWebArea", url, {}, true};
        AXNode group{"AXGroup", std::nullopt, {web}, true};
        root.children.push_back(AXNode{"AXWindow", std::nullopt, {group}, true});
    }
    return root;
}

SimulatedBrowserWorld::App* SimulatedBrowserWorld::appOfLocked(const AccessibilityElement& element) const {
    const auto hash = element.owner.rfind('#');
    if (hash == std::string::npos) {
        return nullptr;
    }
    App* app = findByPidLocked(std::atoi(element.owner.c_str() + hash + 1));
    return app && elementOwner(app->bundleId, app->pid) == element.owner ? app : nullptr;
}

std::optional<SimulatedBrowserWorld::AXNode>
SimulatedBrowserWorld::resolveLocked(const AccessibilityElement& element) const {
    const App* app = appOfLocked(element);
    if (!app) {
        return std::nullopt;
    }
    const auto tree = treeLocked(app->bundleId, app);
    if (!tree) {
        return std::nullopt;
    }
    const AXNode* node = &*tree;
    std::istringstream path(element.path);
    std::string part;
    while (std::getline(path, part, '/')) {
        if (part.empty()) {
            continue;
        }
        // A page's document object lives until the next navigation.
        if (const auto at = part.find('@');
            at != std::string::npos && std::stoi(part.substr(at + 1)) != app->generation) {
            return std::nullopt;
        }
        const auto index = static_cast<std::size_t>(std::stoul(part));
        if (index >= node->children.size()) {
            return std::nullopt;
        }
        node = &node->children[index];
    }
    return *node;
}

// --- Workspace -----------------------------------------------------------------------------------------

std::string SimulatedBrowserWorld::portFrontmostBundleId() {
    {
        std::lock_guard lock(mutex_);
        ++counts_.frontmostQueries;
    }
    return frontmost();
}

std::vector<RunningApplication> SimulatedBrowserWorld::portRunningApplications(const std::string& bundleId) {
    std::lock_guard lock(mutex_);
    ++counts_.runningQueries;
    std::vector<RunningApplication> out;
    for (const auto& a : apps_) {
        if (a->bundleId == bundleId) {
            out.push_back(RunningApplication{a->bundleId, a->pid, a->pid == frontPid_});
        }
    }
    return out;
}

bool SimulatedBrowserWorld::portActivate(int processId) {
    std::string bundleId;
    {
        std::lock_guard lock(mutex_);
        ++counts_.activations;
        App* app = findByPidLocked(processId);
        if (!app || activationRefused_) {
            return false;
        }
        frontPid_ = app->pid;
        focusPid_ = app->pid;
        bundleId = app->bundleId;
    }
    notify(false, bundleId);
    return true;
}

int SimulatedBrowserWorld::portAddObserver(bool launch, std::function<void(const std::string&)> handler) {
    std::lock_guard lock(mutex_);
    const int token = nextObserver_++;
    observers_.emplace(token, std::make_pair(launch, std::move(handler)));
    return token;
}

void SimulatedBrowserWorld::portRemoveObserver(int token) {
    std::lock_guard lock(mutex_);
    observers_.erase(token);
}

// --- Scripts -------------------------------------------------------------------------------------------

ScriptHost::CompileResult SimulatedBrowserWorld::portCompile(const std::string& source) {
    std::lock_guard lock(mutex_);
    ++counts_.compiles;
    std::vector<std::pair<std::string, BrowserEngine>> candidates;
    for (const auto& row : SupportedBrowsers::all()) {
        candidates.emplace_back(row.bundleId, row.engine);
    }
    for (const auto& a : apps_) {
        if (a->isBrowser) {
            candidates.emplace_back(a->bundleId, a->engine);
        }
    }
    for (const auto& [bundleId, engine] : candidates) {
        std::optional<ScriptKind> kind;
        if (source == BrowserScripts::makeTabURLsScriptSource(bundleId, engine)) {
            kind = ScriptKind::tabURLs;
        } else if (source == BrowserScripts::makeRedirectScriptSource(bundleId, engine)) {
            kind = ScriptKind::redirect;
        }
        if (!kind) {
            continue;
        }
        if (const Knobs* k = findKnobsLocked(bundleId); k && k->compileFails) {
            return {nullptr, "Expected end of line but found identifier."};
        }
        return {std::make_shared<SimulatedCompiledScript>(*this, bundleId, *kind), {}};
    }
    return {nullptr, "A identifier can't go after this identifier."};
}

std::optional<AppleScriptResult> SimulatedBrowserWorld::scriptRunRefusalLocked(const std::string& bundleId) {
    if (!findLocked(bundleId)) {
        return AppleScriptResult{std::nullopt, -600, std::string("Application isn't running.")};
    }
    Knobs* k = findKnobsLocked(bundleId);
    if (k && k->consent == Consent::denied) {
        return AppleScriptResult{std::nullopt, -1743, std::string("Not authorized to send Apple events.")};
    }
    if (k && k->failCount > 0) {
        --k->failCount;
        return AppleScriptResult{std::nullopt, k->failCode, k->failMessage};
    }
    return std::nullopt;
}

AppleScriptResult SimulatedBrowserWorld::portRunTabScript(const std::string& bundleId) {
    std::unique_lock lock(mutex_);
    ++counts_.scriptRuns;
    InFlight inFlight(*this, bundleId);
    waitOutKnobsLocked(lock, bundleId);
    if (auto refusal = scriptRunRefusalLocked(bundleId)) {
        return *refusal;
    }
    App* app = findLocked(bundleId);
    const Knobs* k = findKnobsLocked(bundleId);
    if (k && k->overrideOutput) {
        return AppleScriptResult{k->output, std::nullopt, std::nullopt};
    }
    std::string out;
    bool first = true;
    for (const auto& url : app->windows) {
        if (!url) {
            continue;
        }
        if (!first) {
            out += '\n';
        }
        first = false;
        out += *url;
    }
    return AppleScriptResult{out, std::nullopt, std::nullopt};
}

AppleScriptResult SimulatedBrowserWorld::portRunRedirectScript(const std::string& bundleId,
                                                               const AppleEventDescriptor* event) {
    std::unique_lock lock(mutex_);
    ++counts_.scriptRuns;
    InFlight inFlight(*this, bundleId);
    waitOutKnobsLocked(lock, bundleId);
    if (auto refusal = scriptRunRefusalLocked(bundleId)) {
        return *refusal;
    }
    App* app = findLocked(bundleId);
    if (!event) {
        return AppleScriptResult{};
    }
    if (event->eventClass != "ascr" || event->eventId != "psbr" ||
        event->subroutineName != BrowserScripts::kRedirectHandlerName || event->directObject.size() != 2) {
        return AppleScriptResult{std::nullopt, -1708,
                                 std::string("redirectTab doesn't understand the message.")};
    }
    const std::string& oldUrl = event->directObject[0];
    const std::string& newUrl = event->directObject[1];
    redirectEvents_.push_back(RedirectEventRecord{bundleId, oldUrl, newUrl});
    for (auto& w : app->windows) {
        if (w && *w == oldUrl) {
            w = newUrl;
        }
    }
    return AppleScriptResult{};
}

int SimulatedBrowserWorld::portPermissionToAutomate(const std::string& bundleId) {
    std::lock_guard lock(mutex_);
    ++counts_.consentQueries;
    const Knobs* k = findKnobsLocked(bundleId);
    if (!k) {
        return AutomationConsent::kConsentRequired;
    }
    if (k->consentStatus) {
        return *k->consentStatus;
    }
    switch (k->consent) {
    case Consent::granted:
        return AutomationConsent::kAllowed;
    case Consent::denied:
        return AutomationConsent::kNotPermitted;
    case Consent::notAsked:
        break;
    }
    return AutomationConsent::kConsentRequired;
}

// --- Accessibility -------------------------------------------------------------------------------------

bool SimulatedBrowserWorld::portIsTrusted() {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    return trusted_;
}

bool SimulatedBrowserWorld::portIsTrustSettled() {
    std::lock_guard lock(mutex_);
    return trustSettled_;
}

int SimulatedBrowserWorld::portAddTrustObserver(std::function<void()> observer) {
    std::lock_guard lock(mutex_);
    const int token = nextObserver_++;
    trustObservers_.emplace(token, std::move(observer));
    return token;
}

void SimulatedBrowserWorld::portRemoveTrustObserver(int token) {
    std::lock_guard lock(mutex_);
    trustObservers_.erase(token);
}

AccessibilityElement SimulatedBrowserWorld::portApplicationElement(int processId) {
    std::unique_lock lock(mutex_);
    ++counts_.accessibilityCalls;
    App* app = findByPidLocked(processId);
    if (!app) {
        return AccessibilityElement{"#" + std::to_string(processId), {}};
    }
    const std::string bundleId = app->bundleId;
    InFlight inFlight(*this, bundleId);
    waitOutKnobsLocked(lock, bundleId);
    return AccessibilityElement{elementOwner(bundleId, processId), {}};
}

std::optional<std::string> SimulatedBrowserWorld::portRole(const AccessibilityElement& element) {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    if (!trusted_) {
        return std::nullopt;
    }
    auto node = resolveLocked(element);
    if (!node || node->role.empty()) {
        return std::nullopt;
    }
    return node->role;
}

std::optional<std::string> SimulatedBrowserWorld::portURL(const AccessibilityElement& element) {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    if (!trusted_) {
        return std::nullopt;
    }
    auto node = resolveLocked(element);
    return node ? node->url : std::nullopt;
}

std::optional<std::vector<AccessibilityElement>>
SimulatedBrowserWorld::portChildren(const AccessibilityElement& element) {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    if (!trusted_) {
        return std::nullopt;
    }
    auto node = resolveLocked(element);
    if (!node || !node->childrenReadable) {
        return std::nullopt;
    }
    std::vector<AccessibilityElement> out;
    const App* app = appOfLocked(element);
    for (std::size_t i = 0; i < node->children.size(); ++i) {
        std::string path = element.path + "/" + std::to_string(i);
        if (node->children[i].role == "AXWebArea" && app) {
            path += "@" + std::to_string(app->generation);
        }
        out.push_back(AccessibilityElement{element.owner, path});
    }
    return out;
}

std::optional<AccessibilityElement>
SimulatedBrowserWorld::portFocusedWindow(const AccessibilityElement& application) {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    if (!trusted_ || !application.path.empty()) {
        return std::nullopt;
    }
    auto node = resolveLocked(application);
    if (!node || node->children.empty()) {
        return std::nullopt;
    }
    return AccessibilityElement{application.owner, "/0"};
}

bool SimulatedBrowserWorld::portSetBooleanAttribute(const AccessibilityElement& element,
                                                    const std::string& name, bool value) {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    if (!trusted_ || !value) {
        return false;
    }
    const auto hash = element.owner.rfind('#');
    attributes_.emplace_back(hash == std::string::npos ? element.owner : element.owner.substr(0, hash), name);
    return true;
}

// --- Keystrokes ----------------------------------------------------------------------------------------

bool SimulatedBrowserWorld::portHasKeyboardFocus(WindowHandle window) {
    std::lock_guard lock(mutex_);
    ++counts_.keystrokeCalls;
    const App* app = findByPidLocked(focusPid_);
    return !keyboardGrabbed_ && app && !app->handles.empty() && app->handles.front() == window;
}

KeystrokeResult SimulatedBrowserWorld::portKeystroke(const std::string& group, const std::string& text,
                                                     WindowHandle window) {
    std::lock_guard lock(mutex_);
    ++counts_.keystrokeCalls;
    App* app = findByPidLocked(focusPid_);
    if (keyboardGrabbed_) {
        return KeystrokeResult::grabbed;
    }
    if (modifierHeld_) {
        return KeystrokeResult::modifierHeld;
    }
    // An application without windows (an editor) has its focus in its one buffer.
    const bool inWindow = app && (app->handles.empty() ? window == 0 : app->handles.front() == window);
    if (!inWindow) {
        return KeystrokeResult::notFocused;
    }
    const std::string target = app ? app->bundleId : std::string();
    if (group == "type" && !keystrokes_.empty() && keystrokes_.back().group == "type" &&
        keystrokes_.back().target == target) {
        keystrokes_.back().text += text;
    } else {
        keystrokes_.push_back(Keystroke{target, group, text});
    }
    // Keys go to the page's field while it has the focus; the shortcut too when the page takes it.
    const bool inPage = app && !app->addressFocused &&
                        (app->pageTakesShortcut || (app->pageFocused && group != "focusAddressField"));
    if (app && app->isBrowser && !inPage) {
        if (group == "focusAddressField") {
            app->addressFocused = true;
            app->pageFocused = false;
            app->selected = false;
            app->addressText = app->pendingAddress.value_or(
                app->windows.empty() ? std::string() : app->windows.front().value_or(""));
        } else if (group == "selectAll") {
            app->selected = app->addressFocused;
        } else if (group == "type" && app->addressFocused) {
            std::string arrived;
            for (std::size_t at = 0; at < text.size(); ++at) {
                if (!(inputMethod_.present && inputMethod_.losesQueuedKeys && at > 0)) {
                    arrived += text[at];
                }
            }
            app->composing =
                app->composing || (inputMethod_.present && inputMethod_.composes && !inputMethod_.plain);
            app->addressText = (app->selected ? arrived : app->addressText + arrived) + app->autofill;
            app->selected = !app->autofill.empty();
        } else if (group == "delete" && app->addressFocused) {
            if (app->selected && !app->autofillSticks && !app->autofill.empty()) {
                app->addressText.resize(app->addressText.size() - app->autofill.size());
            }
            app->selected = false;
        } else if (group == "escape" && app->addressFocused) {
            app->addressText = app->windows.empty() ? std::string() : app->windows.front().value_or("");
            app->selected = false;
            app->composing = false;
        } else if (group == "return" && app->addressFocused && app->composing) {
            app->composing = false; // only the composition ends
        } else if (group == "return" && app->addressFocused) {
            if (!app->windows.empty() && app->oldPageTakesAddress) {
                app->windows.front() = app->addressText; // the same document object
            } else if (!app->windows.empty() && app->navigationPending) {
                app->pendingAddress = app->addressText;
            } else if (!app->windows.empty() && !app->navigationStalled) {
                app->windows.front() = app->addressText;
                ++app->generation;
            }
            app->addressFocused = false;
        }
    } else if (app) {
        // An editor, or a page field that took the shortcut: select-all then typing replaces the user's text.
        if (group == "selectAll") {
            app->selected = true;
        } else if (group == "type") {
            app->text = app->selected ? text : app->text + text;
            app->selected = false;
        } else if (group == "return") {
            app->text += "\n";
        }
    }
    if (app && app->isBrowser && pageFocusAfter_ > 0 && --pageFocusAfter_ == 0) {
        app->addressFocused = false;
        app->pageFocused = true;
        pageFocusAfter_ = -1;
    }
    if (focusSwitchAfter_ > 0 && --focusSwitchAfter_ == 0) {
        if (App* to = findLocked(focusSwitchTo_)) {
            focusPid_ = to->pid;
        }
        focusSwitchAfter_ = -1;
    }
    return KeystrokeResult::sent;
}

std::optional<WindowHandle> SimulatedBrowserWorld::portWindowHandle(const AccessibilityElement& window) {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    const App* app = appOfLocked(window);
    const auto index = windowIndex(window.path);
    if (!trusted_ || !app || app->handlesUnknown || !index || *index >= app->handles.size()) {
        return std::nullopt;
    }
    return app->handles[*index];
}

bool SimulatedBrowserWorld::portIsActive(const AccessibilityElement& window) {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    const App* app = appOfLocked(window);
    return trusted_ && app && app->pid == focusPid_ && windowIndex(window.path) == 0u;
}

std::optional<bool> SimulatedBrowserWorld::portIsLoading(const AccessibilityElement& webArea) {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    const App* app = appOfLocked(webArea);
    if (!trusted_ || !app || !resolveLocked(webArea)) {
        return std::nullopt;
    }
    return app->loadsSlowly && app->generation > 0;
}

bool SimulatedBrowserWorld::portRaiseWindow(const AccessibilityElement& window) {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    const auto hash = window.owner.rfind('#');
    App* app = hash == std::string::npos ? nullptr : appOfLocked(window);
    const auto found = windowIndex(window.path);
    if (!trusted_ || !app || activationRefused_ || !found || *found >= app->windows.size()) {
        return false;
    }
    const std::size_t index = *found;
    auto raised = app->windows[index];
    app->windows.erase(app->windows.begin() + static_cast<std::ptrdiff_t>(index));
    app->windows.insert(app->windows.begin(), std::move(raised));
    if (index < app->handles.size()) {
        const WindowHandle handle = app->handles[index];
        app->handles.erase(app->handles.begin() + static_cast<std::ptrdiff_t>(index));
        app->handles.insert(app->handles.begin(), handle);
    }
    frontPid_ = app->pid;
    focusPid_ = app->pid;
    return true;
}

std::optional<AddressField> SimulatedBrowserWorld::portAddressField(const AccessibilityElement& window) {
    std::lock_guard lock(mutex_);
    ++counts_.accessibilityCalls;
    const App* app = appOfLocked(window);
    const auto index = windowIndex(window.path);
    if (!trusted_ || !app || !app->hasAddressField || !index || *index >= app->windows.size()) {
        return std::nullopt;
    }
    // Only the front window's field is ever edited; the others show their pages' addresses. A field keeps
    // its text when its browser loses the keyboard focus, but no longer says it is focused.
    if (*index == 0 && app->addressFocused) {
        return AddressField{app->addressText, app->pid == focusPid_};
    }
    const std::string page = app->windows[*index].value_or("");
    return AddressField{*index == 0 ? app->pendingAddress.value_or(page) : page, false};
}

void SimulatedBrowserWorld::setKeyboardGrabbed(bool grabbed) {
    std::lock_guard lock(mutex_);
    keyboardGrabbed_ = grabbed;
}

void SimulatedBrowserWorld::setModifierHeld(bool held) {
    std::lock_guard lock(mutex_);
    modifierHeld_ = held;
}

void SimulatedBrowserWorld::setPageTakesShortcut(const std::string& bundleId, bool takes) {
    std::lock_guard lock(mutex_);
    if (App* app = findLocked(bundleId)) {
        app->pageTakesShortcut = takes;
    }
}

void SimulatedBrowserWorld::setLoadsSlowly(const std::string& bundleId, bool slowly) {
    std::lock_guard lock(mutex_);
    if (App* app = findLocked(bundleId)) {
        app->loadsSlowly = slowly;
    }
}

void SimulatedBrowserWorld::setOldPageTakesAddress(const std::string& bundleId, bool takes) {
    std::lock_guard lock(mutex_);
    if (App* app = findLocked(bundleId)) {
        app->oldPageTakesAddress = takes;
    }
}

void SimulatedBrowserWorld::setInputMethod(const InputMethodModel& model) {
    std::lock_guard lock(mutex_);
    inputMethod_ = model;
}

SimulatedBrowserWorld::InputMethodModel SimulatedBrowserWorld::inputMethod() const {
    std::lock_guard lock(mutex_);
    return inputMethod_;
}

PlainTyping SimulatedBrowserWorld::portTypePlain() {
    std::lock_guard lock(mutex_);
    ++counts_.inputMethodCalls;
    auto& im = inputMethod_;
    PlainTyping done;
    if (im.claims) {
        return {*im.claims, *im.claims == PlainTyping::Kind::unusable ? "cannot switch" : ""};
    }
    const auto shortcuts = std::count_if(keystrokes_.begin(), keystrokes_.end(),
                                         [](const Keystroke& k) { return k.group == "focusAddressField"; });
    if (im.present && (im.toldOfFocusAtShortcut == 0 || shortcuts < im.toldOfFocusAtShortcut)) {
        return {PlainTyping::Kind::unfocused, "no focused input context"};
    }
    if (im.present && im.composes && im.switchable) {
        im.plain = true;
        done.kind = PlainTyping::Kind::switched;
    } else if (im.present) {
        done.kind = im.composes ? PlainTyping::Kind::unusable : PlainTyping::Kind::plain;
        done.why = im.composes ? "cannot switch" : "";
    }
    return done;
}

bool SimulatedBrowserWorld::portRestoreInputMethod() {
    std::lock_guard lock(mutex_);
    ++counts_.inputMethodCalls;
    inputMethod_.plain = false;
    return true;
}

void SimulatedBrowserWorld::setWindowHandlesUnknown(const std::string& bundleId, bool unknown) {
    std::lock_guard lock(mutex_);
    if (App* app = findLocked(bundleId)) {
        app->handlesUnknown = unknown;
    }
}

void SimulatedBrowserWorld::setAutofill(const std::string& bundleId, const std::string& suffix, bool sticks) {
    std::lock_guard lock(mutex_);
    if (App* app = findLocked(bundleId)) {
        app->autofill = suffix;
        app->autofillSticks = sticks;
    }
}

void SimulatedBrowserWorld::setNavigationPending(const std::string& bundleId, bool pending) {
    std::lock_guard lock(mutex_);
    if (App* app = findLocked(bundleId)) {
        app->navigationPending = pending;
    }
}

void SimulatedBrowserWorld::commitPendingNavigation(const std::string& bundleId) {
    std::lock_guard lock(mutex_);
    App* app = findLocked(bundleId);
    if (app && app->pendingAddress && !app->windows.empty()) {
        app->windows.front() = *app->pendingAddress;
        app->pendingAddress.reset();
        ++app->generation;
    }
}

void SimulatedBrowserWorld::setHasAddressField(const std::string& bundleId, bool has) {
    std::lock_guard lock(mutex_);
    if (App* app = findLocked(bundleId)) {
        app->hasAddressField = has;
    }
}

void SimulatedBrowserWorld::setNavigationStalled(const std::string& bundleId, bool stalled) {
    std::lock_guard lock(mutex_);
    if (App* app = findLocked(bundleId)) {
        app->navigationStalled = stalled;
    }
}

bool SimulatedBrowserWorld::portOpenAccessibilitySettings() {
    std::lock_guard lock(mutex_);
    ++counts_.settingsOpens;
    return true;
}

bool SimulatedBrowserWorld::portOpenAutomationSettings() {
    std::lock_guard lock(mutex_);
    ++counts_.automationSettingsOpens;
    return true;
}

} // namespace kivo
