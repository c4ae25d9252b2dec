#pragma once

#include <map>
#include <optional>
#include <string>

namespace kivo {

// The environment another process of this user was started with, as /proc shows it: none when it cannot
// be read (the process is gone or belongs to someone else, or wrote its title over it).
std::optional<std::map<std::string, std::string>> processEnvironment(int processId);

} // namespace kivo
