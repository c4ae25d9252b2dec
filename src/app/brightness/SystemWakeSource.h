#pragma once

#include <functional>

namespace kivo {

// Tells when the computer has woken from sleep. The handler runs on the main thread.
class SystemWakeSource {
public:
    virtual ~SystemWakeSource() = default;
    virtual void setWakeHandler(std::function<void()> handler) = 0;
};

} // namespace kivo
