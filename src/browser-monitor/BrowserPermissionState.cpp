#include "browser-monitor/BrowserPermissionState.h"

namespace kivo {

std::optional<BrowserPermissionState>
BrowserPermissionState::merge(std::optional<BrowserPermissionState> stored, BrowserPermissionState fresh) {
    if (fresh != unknown) {
        return fresh;
    }
    if (!stored) {
        return BrowserPermissionState(unknown);
    }
    return std::nullopt;
}

std::optional<BrowserPermissionState>
BrowserPermissionState::fromScriptErrorCode(std::optional<int> errorCode) {
    if (!errorCode) {
        return BrowserPermissionState(granted);
    }
    if (*errorCode == kNotPermittedErrorCode) {
        return BrowserPermissionState(denied);
    }
    return std::nullopt;
}

} // namespace kivo
