#pragma once

#include "browser-monitor/ports/Workspace.h"
#include "platform/linux/XcbDesktop.h"

#include <QSocketNotifier>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace kivo {

// The workspace of an X11 desktop, from the window manager's hints: the front application is the
// process of `_NET_ACTIVE_WINDOW`, running instances are the processes of `_NET_CLIENT_LIST`, and
// applications are named by their window class (browsers by their row of the supported table). The
// state is kept from the root window's property events, read through a socket notifier on the main
// thread, so the queries answer from memory and a desktop where nothing changes costs nothing.
class LinuxWorkspace final : public Workspace {
public:
    // A workspace that sees no applications when `desktop` is none (no X display).
    explicit LinuxWorkspace(std::unique_ptr<XcbDesktop> desktop);
    ~LinuxWorkspace() override;

    std::string frontmostBundleId() override;
    std::vector<RunningApplication> runningApplications(const std::string& bundleId) override;
    bool activate(int processId) override;
    ObserverToken addActivationObserver(ApplicationHandler handler) override;
    ObserverToken addLaunchObserver(ApplicationHandler handler) override;
    void removeObserver(ObserverToken token) override;

    // The name of a running browser on this desktop (from its window class); none when it does not run.
    std::optional<std::string> runningDisplayName(const std::string& bundleId) const;
    // Requests to the X server that waited for a reply, for the bench.
    long roundTrips() const { return desktop_ ? desktop_->roundTrips() : 0; }

private:
    struct Window {
        int processId = 0;
        std::string bundleId; // the table's identifier, else the window class
        std::optional<std::string> displayName;
    };

    void readEvents();
    // After round trips made outside readEvents: their replies may have queued events.
    void readQueuedEventsSoon();
    void refreshClients();
    void refreshActive();
    void setFront(xcb_window_t window);
    void notify(bool launch, const std::string& bundleId);

    std::unique_ptr<XcbDesktop> desktop_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer noActiveWindow_;
    xcb_atom_t activeAtom_ = 0;
    xcb_atom_t clientListAtom_ = 0;
    std::vector<xcb_window_t> order_;
    std::map<xcb_window_t, Window> windows_;
    int frontProcess_ = 0;
    std::string frontBundleId_;
    std::map<ObserverToken, std::pair<bool, ApplicationHandler>> observers_;
    ObserverToken nextToken_ = 1;
};

} // namespace kivo
