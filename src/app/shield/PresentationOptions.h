#pragma once

#include <cstdint>

namespace kivo {

// What the desktop lets the user reach while Kivo is in front, as a bit set. The shield switches on
// exactly `shield` and puts back whatever was in force before.
struct PresentationOptions {
    static constexpr std::uint32_t hideDock = 2;
    static constexpr std::uint32_t hideMenuBar = 8;
    static constexpr std::uint32_t disableProcessSwitching = 32;
    static constexpr std::uint32_t disableForceQuit = 64;
    static constexpr std::uint32_t shield =
        hideDock | hideMenuBar | disableProcessSwitching | disableForceQuit;

    std::uint32_t bits = 0;

    bool has(std::uint32_t option) const { return (bits & option) == option; }

    friend bool operator==(const PresentationOptions&, const PresentationOptions&) = default;
};

} // namespace kivo
