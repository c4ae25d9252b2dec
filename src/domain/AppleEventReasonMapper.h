#pragma once

#include "domain/TerminationReason.h"

#include <cstdint>
#include <optional>

namespace kivo {

// Maps the four-character quit-reason code that comes with a quit request to a reason. Pure and total:
// no code, or a code it does not know, is a quit the user asked for.
namespace AppleEventReasonMapper {

// The code whose four bytes, most significant first, are the letters of `code`.
constexpr std::uint32_t fourCharCode(const char (&code)[5]) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

inline constexpr std::uint32_t logOutCode = fourCharCode("logo");
inline constexpr std::uint32_t reallyLogOutCode = fourCharCode("rlgo");
inline constexpr std::uint32_t restartCode = fourCharCode("rest");
inline constexpr std::uint32_t showRestartDialogCode = fourCharCode("rrst");
inline constexpr std::uint32_t shutDownCode = fourCharCode("shut");
inline constexpr std::uint32_t showShutdownDialogCode = fourCharCode("rsdn");

TerminationReason terminationReason(std::optional<std::uint32_t> code);

} // namespace AppleEventReasonMapper
} // namespace kivo
