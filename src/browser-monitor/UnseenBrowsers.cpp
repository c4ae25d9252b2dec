#include "browser-monitor/UnseenBrowsers.h"

#include "browser-monitor/SupportedBrowsers.h"
#include "browser-monitor/ports/BrowserRoutes.h"
#include "core/Log.h"

#include <algorithm>
#include <set>

namespace kivo {

UnseenBrowsers::UnseenBrowsers(BusBrowsers* bus, Workspace& workspace, BrowserRoutes& routes,
                               const Clock& clock, TimerFactory& timers, std::function<void()> changed)
    : bus_(bus), workspace_(workspace), routes_(routes), clock_(clock), changed_(std::move(changed)),
      worker_(std::string(kBundleIdentifier) + ".bus-browsers", timers), timer_(timers.createTimer()) {
    timer_->setSingleShot(true);
    timer_->setCallback([this] { read(); });
    // A browser's first window names it seen at once, without waiting for the next reading.
    launchObserver_ = workspace_.addLaunchObserver([this](const std::string&) { decide(); });
}

UnseenBrowsers::~UnseenBrowsers() {
    workspace_.removeObserver(*launchObserver_);
    gate_->close();
}

std::shared_ptr<void> UnseenBrowsers::watch() {
    if (++watchers_ == 1) {
        scheduleRead();
    }
    return std::shared_ptr<void>(nullptr, [this, alive = std::weak_ptr<bool>(alive_)](void*) {
        if (alive.lock()) {
            unwatch();
        }
    });
}

void UnseenBrowsers::unwatch() {
    if (--watchers_ == 0) {
        timer_->stop();
    }
}

void UnseenBrowsers::scheduleRead() {
    if (watchers_ == 0 || reading_ || bus_ == nullptr) {
        return;
    }
    // Showing the screens again and again reads no more often than the interval.
    std::chrono::milliseconds wait{0};
    if (lastReadStart_) {
        const auto since =
            std::chrono::duration_cast<std::chrono::milliseconds>(clock_.monotonicNow() - *lastReadStart_);
        wait = std::max(std::chrono::milliseconds{0}, kReadInterval - since);
    }
    if (wait.count() == 0) {
        read();
    } else {
        timer_->start(wait);
    }
}

void UnseenBrowsers::read() {
    if (watchers_ == 0 || reading_) {
        return;
    }
    if (worker_.isBusy()) {
        timer_->start(kReadInterval); // a read that outlived its deadline is still stuck on the bus
        return;
    }
    reading_ = true;
    lastReadStart_ = clock_.monotonicNow();
    using Reading = std::optional<std::vector<BusBrowsers::Browser>>;
    worker_.submit<Reading>(
        [bus = bus_, gate = gate_] { return gate->call([&] { return bus->browsers(); }, Reading()); },
        kReadDeadline,
        [this](std::optional<Reading> reading) {
            reading_ = false;
            take(reading ? std::move(*reading) : Reading());
            scheduleRead();
        });
}

void UnseenBrowsers::take(std::optional<std::vector<BusBrowsers::Browser>> reading) {
    if (!reading) {
        // Nothing is claimed about a bus that cannot be read.
        qCDebug(lcAutomation, "Could not read the browsers on the accessibility bus");
        unseenSince_.clear();
    }
    lastReading_ = reading ? std::move(*reading) : std::vector<BusBrowsers::Browser>{};
    readAt_ = clock_.monotonicNow();
    decide();
}

void UnseenBrowsers::decide() {
    std::set<int> seen;
    for (const auto& row : SupportedBrowsers::all()) {
        for (const auto& app : workspace_.runningApplications(row.bundleId)) {
            seen.insert(app.processId);
        }
    }
    std::map<Key, Clock::Instant> since;
    for (const auto& browser : lastReading_) {
        if (browser.processIds.empty() || std::any_of(browser.processIds.begin(), browser.processIds.end(),
                                                      [&](int pid) { return seen.count(pid) > 0; })) {
            continue;
        }
        const Key key{browser.bundleId, browser.processIds.front()};
        const auto it = unseenSince_.find(key);
        since.emplace(key, it == unseenSince_.end() ? readAt_ : it->second);
    }
    unseenSince_ = std::move(since);

    std::vector<std::string> names;
    for (const auto& row : SupportedBrowsers::all()) {
        for (const auto& browser : lastReading_) {
            if (browser.bundleId != row.bundleId || browser.processIds.empty()) {
                continue;
            }
            const auto it = unseenSince_.find(Key{browser.bundleId, browser.processIds.front()});
            if (it == unseenSince_.end() || readAt_ - it->second < kConfirmAfter) {
                continue;
            }
            std::string name = browser.displayName.empty() ? routes_.displayName(row) : browser.displayName;
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(std::move(name));
            }
        }
    }
    if (names != names_) {
        names_ = std::move(names);
        if (changed_) {
            changed_();
        }
    }
}

} // namespace kivo
