#pragma once

#include "browser-monitor/PortGate.h"
#include "browser-monitor/ports/BusBrowsers.h"
#include "browser-monitor/ports/Workspace.h"
#include "core/Clock.h"
#include "core/SerialWorker.h"
#include "core/Timer.h"
#include "core/TimerFactory.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kivo {

class BrowserRoutes;

// The supported browsers that run where Kivo cannot see them: on the accessibility bus, but with no
// desktop window the workspace knows (a browser running natively on Wayland shows none). The bus is read
// on a worker of its own, only while someone watches (the rule screens are shown) and at most every
// kReadInterval; a browser is named once it has stayed unseen for kConfirmAfter, so that one whose
// first window is a moment late is never named. Lives on the main thread.
class UnseenBrowsers {
public:
    static constexpr std::chrono::milliseconds kReadInterval{3000};
    static constexpr std::chrono::milliseconds kConfirmAfter{2000};
    static constexpr std::chrono::milliseconds kReadDeadline{5000};

    // `bus` may be null: every browser is then taken to be seen. `changed` runs when the names change.
    UnseenBrowsers(BusBrowsers* bus, Workspace& workspace, BrowserRoutes& routes, const Clock& clock,
                   TimerFactory& timers, std::function<void()> changed);
    ~UnseenBrowsers();
    UnseenBrowsers(const UnseenBrowsers&) = delete;
    UnseenBrowsers& operator=(const UnseenBrowsers&) = delete;

    // Display names in table order, each once.
    const std::vector<std::string>& names() const { return names_; }
    // The bus is read while any returned token lives.
    std::shared_ptr<void> watch();
    bool isReading() const { return reading_; }

private:
    using Key = std::pair<std::string, int>; // row and the bus's process number
    void unwatch();
    void scheduleRead();
    void read();
    void take(std::optional<std::vector<BusBrowsers::Browser>> reading);
    // Compares the last reading with the windows the workspace knows now.
    void decide();

    BusBrowsers* bus_;
    Workspace& workspace_;
    BrowserRoutes& routes_;
    const Clock& clock_;
    std::function<void()> changed_;
    std::shared_ptr<PortGate> gate_ = std::make_shared<PortGate>();
    SerialWorker worker_;
    std::unique_ptr<Timer> timer_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true); // tokens outliving the tracker
    int watchers_ = 0;
    bool reading_ = false;
    std::optional<Clock::Instant> lastReadStart_;
    Clock::Instant readAt_{};
    std::vector<BusBrowsers::Browser> lastReading_;
    std::map<Key, Clock::Instant> unseenSince_;
    std::optional<Workspace::ObserverToken> launchObserver_;
    std::vector<std::string> names_;
};

} // namespace kivo
