#pragma once

#include <cstdlib>
#include <memory>

namespace kivo {

// An xcb reply, event or error, which the caller frees with free().
struct FreeXcbReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T> using XcbReply = std::unique_ptr<T, FreeXcbReply>;

} // namespace kivo
