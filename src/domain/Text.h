#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

// Text operations over UTF-8, in user-perceived characters (extended grapheme clusters).
//
// Invalid UTF-8 never stops an operation: each byte that does not start a well-formed sequence is carried
// through unchanged and counts as a character of its own. Such a text equals only a byte-identical text.
namespace Text {

bool isAscii(std::string_view s);
bool isValidUtf8(std::string_view s);

// The extended grapheme clusters of `s`, in order; joined they give `s` back byte for byte.
std::vector<std::string> graphemeClusters(std::string_view s);
// The same clusters as ranges of `s` itself, without copying them.
std::vector<std::string_view> graphemeClusterViews(std::string_view s);
std::size_t characterCount(std::string_view s);

// Canonical equivalence: equal NFD forms ("é" precomposed equals "e" + combining acute).
bool canonicallyEqual(std::string_view a, std::string_view b);
// The canonical decomposition (NFD) of `s`; invalid UTF-8 is returned unchanged.
std::string decomposed(std::string_view s);

// Removes space separators (category Zs) and the tab from both ends; line breaks stay.
std::string trimmed(std::string_view s);
// The full default lowercase mapping of every scalar, independent of the locale.
std::string lowercased(std::string_view s);

} // namespace Text
} // namespace kivo
