#pragma once

#include <chrono>
#include <optional>

namespace kivo {

// How long the user has not touched the keyboard or the pointer. Asked on the main thread, often: it must
// answer at once.
class UserIdleSource {
public:
    virtual ~UserIdleSource() = default;
    // None where it cannot be told.
    virtual std::optional<std::chrono::milliseconds> idleTime() = 0;
};

} // namespace kivo
