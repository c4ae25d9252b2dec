#pragma once

#include <cstddef>

namespace kivo {

// Length limits shared by the validations, their messages and the editors' text fields, in characters.
namespace KivoMacOSConstants {

inline constexpr std::size_t maxGroupNameLength = 20;
inline constexpr std::size_t maxPatternLength = 120;
inline constexpr std::size_t maxRedirectURLLength = 200;
inline constexpr std::size_t maxTriggerNameLength = 20;

} // namespace KivoMacOSConstants
} // namespace kivo
