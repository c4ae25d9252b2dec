#pragma once

#include <functional>

namespace kivo {

// Tells when the login manager says the user's session locks or unlocks, and when the machine is about
// to sleep or has woken. A screen locker is started on the same news, so a change must be handled at
// once.
class SessionLockSource {
public:
    enum class Change { locked, unlocked, sleeping, woke };

    virtual ~SessionLockSource() = default;
    // `handler` runs on the main thread for every change; an empty handler stops the reports.
    virtual void setSessionLockHandler(std::function<void(Change)> handler) = 0;
};

} // namespace kivo
