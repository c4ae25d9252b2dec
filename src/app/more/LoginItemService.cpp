#include "app/more/LoginItemService.h"

#include "core/Log.h"

namespace kivo {

LoginItemService::LoginItemService(LoginItemPort& port, QObject* parent) : QObject(parent), port_(port) {
    isEnabled_ = port_.status() == LoginItemStatus::Enabled;
}

void LoginItemService::setEnabled(bool enabled) {
    const auto error = enabled ? port_.registerItem() : port_.unregisterItem();
    if (error.isEmpty()) {
        qCInfo(lcLifecycle, "Login item set to %s", enabled ? "true" : "false");
    } else {
        qCCritical(lcLifecycle, "Login item toggle failed: %s", qUtf8Printable(error));
    }
    refresh();
}

void LoginItemService::refresh() {
    const bool now = port_.status() == LoginItemStatus::Enabled;
    if (now != isEnabled_) {
        isEnabled_ = now;
        emit isEnabledChanged(isEnabled_);
    }
}

} // namespace kivo
