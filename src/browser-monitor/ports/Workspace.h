#pragma once

#include "browser-monitor/ports/RunningApplication.h"

#include <functional>
#include <string>
#include <vector>

namespace kivo {

// The desktop's view of running applications: which one is in front, which instances of an
// application run, bringing one to the front, and being told when the front application changes or an
// application starts. Every call is made on the main thread and must answer quickly (from the window
// manager's state, not by waiting on an application); observers are called on the main thread.
class Workspace {
public:
    using ObserverToken = int;
    using ApplicationHandler = std::function<void(const std::string& bundleId)>;

    virtual ~Workspace() = default;

    // The identifier of the frontmost application; empty when there is none or it has no identifier.
    virtual std::string frontmostBundleId() = 0;
    // The running instances of an application, in the desktop's order; empty when none runs.
    virtual std::vector<RunningApplication> runningApplications(const std::string& bundleId) = 0;
    // Asks the desktop to bring the application to the front; false when it refused at once.
    virtual bool activate(int processId) = 0;

    // Called with the identifier of each application that becomes frontmost (empty when it has none).
    virtual ObserverToken addActivationObserver(ApplicationHandler handler) = 0;
    // Called with the identifier of each application that starts.
    virtual ObserverToken addLaunchObserver(ApplicationHandler handler) = 0;
    virtual void removeObserver(ObserverToken token) = 0;
};

} // namespace kivo
