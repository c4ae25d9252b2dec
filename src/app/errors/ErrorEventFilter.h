#pragma once

#include "app/errors/ErrorEvent.h"

#include <optional>

namespace kivo {

// The filter every event passes before it is sent. Hang reports whose stack lies in the update
// framework are noise from its own modal windows, not a fault of Kivo, so they are dropped.
namespace ErrorEventFilter {

// Whether the event is an application-hang event with a frame inside the update framework.
bool isUpdateFrameworkHang(const ErrorEvent& event);

// The event unchanged, or nothing when it is to be dropped.
std::optional<ErrorEvent> beforeSend(ErrorEvent event);

} // namespace ErrorEventFilter
} // namespace kivo
