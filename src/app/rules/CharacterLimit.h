#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kivo {

// Field limits count user-perceived characters, so a cut never splits an accented letter or an emoji.
namespace CharacterLimit {

// The first `limit` characters of `text` (all of it when shorter).
std::string truncated(std::string_view text, std::size_t limit);

} // namespace CharacterLimit
} // namespace kivo
