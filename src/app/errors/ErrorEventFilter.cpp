#include "app/errors/ErrorEventFilter.h"

namespace kivo::ErrorEventFilter {

bool isUpdateFrameworkHang(const ErrorEvent& event) {
    if (!event.exceptions) {
        return false;
    }
    bool isHang = false;
    for (const auto& exception : *event.exceptions) {
        const auto type =
            exception.mechanism && exception.mechanism->type ? *exception.mechanism->type : QString();
        if (type.startsWith(QLatin1String("AppHang"))) {
            isHang = true;
            break;
        }
    }
    if (!isHang || !event.threads) {
        return false;
    }
    for (const auto& thread : *event.threads) {
        if (!thread.stacktrace) {
            continue;
        }
        for (const auto& frame : *thread.stacktrace) {
            if (!frame.function) {
                continue;
            }
            if (frame.function->contains(QLatin1String("SPUStandardUserDriver")) ||
                frame.function->contains(QLatin1String("Sparkle."))) {
                return true;
            }
        }
    }
    return false;
}

std::optional<ErrorEvent> beforeSend(ErrorEvent event) {
    if (isUpdateFrameworkHang(event)) {
        return std::nullopt;
    }
    return event;
}

} // namespace kivo::ErrorEventFilter
