#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kivo {

// A 128-bit identifier, written as upper-case hyphenated hex (8-4-4-4-12) and read in either case.
class Uuid {
public:
    // The nil identifier (all zero).
    Uuid() = default;

    static Uuid random();
    static std::optional<Uuid> parse(std::string_view text);
    std::string toString() const;

    const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }

    friend bool operator==(const Uuid&, const Uuid&) = default;
    friend auto operator<=>(const Uuid&, const Uuid&) = default;

private:
    std::array<std::uint8_t, 16> bytes_{};
};

} // namespace kivo

template <> struct std::hash<kivo::Uuid> {
    std::size_t operator()(const kivo::Uuid& id) const noexcept {
        std::size_t h = 1469598103934665603ull;
        for (const auto b : id.bytes()) {
            h = (h ^ b) * 1099511628211ull;
        }
        return h;
    }
};
