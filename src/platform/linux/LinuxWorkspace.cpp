#include "platform/linux/LinuxWorkspace.h"

#include "core/Log.h"
#include "platform/linux/LinuxBrowserIdentity.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace kivo {
namespace {

// The window manager clears the active window for a moment while the focus moves between windows:
// only an absence that lasts this long means that nothing is in front.
constexpr int kNoActiveWindowDelayMs = 120;

} // namespace

LinuxWorkspace::LinuxWorkspace(std::unique_ptr<XcbDesktop> desktop) : desktop_(std::move(desktop)) {
    noActiveWindow_.setSingleShot(true);
    noActiveWindow_.setInterval(kNoActiveWindowDelayMs);
    QObject::connect(&noActiveWindow_, &QTimer::timeout, [this] { setFront(0); });
    if (!desktop_) {
        return;
    }
    activeAtom_ = desktop_->ewmh()._NET_ACTIVE_WINDOW;
    clientListAtom_ = desktop_->ewmh()._NET_CLIENT_LIST;
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(desktop_->connection(), desktop_->root(), XCB_CW_EVENT_MASK, &mask);
    xcb_flush(desktop_->connection());
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(desktop_->connection()),
                                                  QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
    refreshClients();
    const xcb_window_t active = desktop_->activeWindow();
    if (active) {
        setFront(active);
    }
    readQueuedEventsSoon(); // changes made while the state above was read
}

LinuxWorkspace::~LinuxWorkspace() = default;

void LinuxWorkspace::readEvents() {
    // A reply carries the events that arrived before it, and xcb moves them to its queue, where the
    // socket notifier never sees them. So the queue is read again after every round of requests, until
    // a round brings nothing new: a burst of window switches ends on the last front window.
    for (;;) {
        bool clients = false;
        bool active = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(desktop_->connection())) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                const auto* property = reinterpret_cast<xcb_property_notify_event_t*>(event);
                clients = clients || property->atom == clientListAtom_;
                active = active || property->atom == activeAtom_;
            }
            std::free(event);
        }
        if (desktop_->isBroken()) {
            qCWarning(lcAutomation, "Lost the connection to the X server");
            notifier_->setEnabled(false);
            return;
        }
        if (!clients && !active) {
            return;
        }
        if (clients) {
            refreshClients();
        }
        if (active) {
            refreshActive();
        }
    }
}

void LinuxWorkspace::readQueuedEventsSoon() {
    QTimer::singleShot(0, &noActiveWindow_, [this] { readEvents(); });
}

void LinuxWorkspace::refreshClients() {
    const auto list = desktop_->clientList();
    std::set<int> knownProcesses;
    for (const auto& [window, info] : windows_) {
        knownProcesses.insert(info.processId);
    }
    std::map<xcb_window_t, Window> next;
    std::vector<std::string> launched;
    for (const xcb_window_t window : list) {
        if (auto it = windows_.find(window); it != windows_.end()) {
            next.insert(*it);
            continue;
        }
        Window info;
        info.processId = desktop_->windowProcess(window).value_or(0);
        if (const auto cls = desktop_->windowClass(window)) {
            if (auto id = LinuxBrowserIdentity::bundleIdForWindowClass(cls->instance, cls->className)) {
                info.bundleId = *id;
                info.displayName =
                    LinuxBrowserIdentity::displayNameForWindowClass(cls->instance, cls->className);
            } else {
                info.bundleId = cls->className;
            }
        }
        if (info.processId != 0 && !knownProcesses.count(info.processId) && info.displayName) {
            knownProcesses.insert(info.processId);
            launched.push_back(info.bundleId);
        }
        next.emplace(window, std::move(info));
    }
    order_ = list;
    windows_ = std::move(next);
    for (const auto& bundleId : launched) {
        notify(true, bundleId);
    }
}

void LinuxWorkspace::refreshActive() {
    const xcb_window_t active = desktop_->activeWindow();
    if (!active) {
        if (!noActiveWindow_.isActive()) {
            noActiveWindow_.start();
        }
        return;
    }
    noActiveWindow_.stop();
    setFront(active);
}

void LinuxWorkspace::setFront(xcb_window_t window) {
    int process = 0;
    std::string bundleId;
    if (window) {
        auto it = windows_.find(window);
        if (it == windows_.end()) {
            refreshClients(); // activated before the client list told of it
            it = windows_.find(window);
        }
        if (it != windows_.end()) {
            process = it->second.processId;
            bundleId = it->second.bundleId;
        }
    }
    if (process == frontProcess_ && bundleId == frontBundleId_) {
        return;
    }
    frontProcess_ = process;
    frontBundleId_ = bundleId;
    notify(false, bundleId);
}

void LinuxWorkspace::notify(bool launch, const std::string& bundleId) {
    // A copy: a handler may add or remove observers.
    const auto observers = observers_;
    for (const auto& [token, entry] : observers) {
        if (entry.first == launch && observers_.count(token)) {
            entry.second(bundleId);
        }
    }
}

std::string LinuxWorkspace::frontmostBundleId() {
    return frontBundleId_;
}

std::vector<RunningApplication> LinuxWorkspace::runningApplications(const std::string& bundleId) {
    std::vector<RunningApplication> apps;
    for (const xcb_window_t window : order_) {
        const auto it = windows_.find(window);
        if (it == windows_.end() || it->second.bundleId != bundleId || it->second.processId == 0) {
            continue;
        }
        const int pid = it->second.processId;
        if (std::none_of(apps.begin(), apps.end(),
                         [&](const RunningApplication& a) { return a.processId == pid; })) {
            apps.push_back(RunningApplication{bundleId, pid, pid == frontProcess_});
        }
    }
    return apps;
}

bool LinuxWorkspace::activate(int processId) {
    if (!desktop_) {
        return false;
    }
    const bool asked = desktop_->requestActivation(desktop_->topWindowOf(processId));
    readQueuedEventsSoon();
    return asked;
}

Workspace::ObserverToken LinuxWorkspace::addActivationObserver(ApplicationHandler handler) {
    const ObserverToken token = nextToken_++;
    observers_.emplace(token, std::make_pair(false, std::move(handler)));
    return token;
}

Workspace::ObserverToken LinuxWorkspace::addLaunchObserver(ApplicationHandler handler) {
    const ObserverToken token = nextToken_++;
    observers_.emplace(token, std::make_pair(true, std::move(handler)));
    return token;
}

void LinuxWorkspace::removeObserver(ObserverToken token) {
    observers_.erase(token);
}

std::optional<std::string> LinuxWorkspace::runningDisplayName(const std::string& bundleId) const {
    for (const auto& [window, info] : windows_) {
        if (info.bundleId == bundleId && info.displayName) {
            return info.displayName;
        }
    }
    return std::nullopt;
}

} // namespace kivo
