#include "platform/simulated/SimulatedLoginItem.h"

namespace kivo {

QString SimulatedLoginItem::registerItem() {
    ++registerCalls_;
    if (!failure_.isEmpty()) {
        return failure_;
    }
    status_ = needsApproval_ ? LoginItemStatus::RequiresApproval : LoginItemStatus::Enabled;
    return {};
}

QString SimulatedLoginItem::unregisterItem() {
    ++unregisterCalls_;
    if (!failure_.isEmpty()) {
        return failure_;
    }
    status_ = LoginItemStatus::NotRegistered;
    return {};
}

} // namespace kivo
