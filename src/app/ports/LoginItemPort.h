#pragma once

#include <QString>

namespace kivo {

// What the system reports about this application's login item.
enum class LoginItemStatus { Enabled, NotRegistered, RequiresApproval, NotFound };

// The session's start-at-login registration of this application.
class LoginItemPort {
public:
    virtual ~LoginItemPort() = default;

    virtual LoginItemStatus status() const = 0;
    // Each returns an empty string on success, else a description of the failure for the log.
    virtual QString registerItem() = 0;
    virtual QString unregisterItem() = 0;
};

} // namespace kivo
