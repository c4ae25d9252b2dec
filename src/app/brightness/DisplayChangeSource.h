#pragma once

#include <functional>

namespace kivo {

// Tells when displays were connected, disconnected or rearranged. The handler runs on the main thread.
class DisplayChangeSource {
public:
    virtual ~DisplayChangeSource() = default;
    virtual void setDisplaysChangedHandler(std::function<void()> handler) = 0;
};

} // namespace kivo
