#include "app/errors/ErrorEventFilter.h"

#include <algorithm>

namespace kivo::ErrorEventFilter {

bool isUpdateFrameworkHang(const ErrorEvent& event) {
    if (!event.exceptions) {
        return false;
    }
    const bool isHang =
        std::any_of(event.exceptions->begin(), event.exceptions->end(), [](const ErrorEvent::Exception& e) {
            return e.mechanism && e.mechanism->type &&
                   e.mechanism->type->startsWith(QLatin1String("AppHang"));
        });
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
