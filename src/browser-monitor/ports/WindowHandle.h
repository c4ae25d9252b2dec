#pragma once

#include <cstdint>

namespace kivo {

// A top-level window as the desktop knows it (an X window on Linux), opaque to everything but the back
// ends; 0 is none.
using WindowHandle = std::uint64_t;

} // namespace kivo
