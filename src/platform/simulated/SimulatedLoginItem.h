#pragma once

#include "app/ports/LoginItemPort.h"

namespace kivo {

// A login-item registry in memory. By default registering turns the item on and unregistering turns it
// off; tests can make a call fail or make registration wait for the user's approval.
class SimulatedLoginItem : public LoginItemPort {
public:
    explicit SimulatedLoginItem(LoginItemStatus initial = LoginItemStatus::NotRegistered)
        : status_(initial) {}

    LoginItemStatus status() const override { return status_; }
    QString registerItem() override;
    QString unregisterItem() override;

    void setStatus(LoginItemStatus status) { status_ = status; }
    void setFailure(QString message) { failure_ = std::move(message); }
    void setRegistrationNeedsApproval(bool needsApproval) { needsApproval_ = needsApproval; }

    int registerCalls() const { return registerCalls_; }
    int unregisterCalls() const { return unregisterCalls_; }

private:
    LoginItemStatus status_;
    QString failure_;
    bool needsApproval_ = false;
    int registerCalls_ = 0;
    int unregisterCalls_ = 0;
};

} // namespace kivo
