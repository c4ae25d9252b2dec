#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

// Small readers for sysfs attribute files.
namespace SysfsFiles {

// The file's text without trailing white space; none when it cannot be read.
std::optional<std::string> readText(const std::filesystem::path& path);
std::optional<std::vector<std::uint8_t>> readBytes(const std::filesystem::path& path);
// A non-negative decimal number and nothing else; none otherwise.
std::optional<std::uint64_t> readNumber(const std::filesystem::path& path);
// Orders "card0-DP-2" before "card0-DP-10".
bool naturalLess(const std::string& a, const std::string& b);
// The entry names of a directory in natural order; none when it cannot be listed. Never throws, even when
// reading the directory fails part way.
std::optional<std::vector<std::string>> listNames(const std::filesystem::path& directory);

} // namespace SysfsFiles
} // namespace kivo
