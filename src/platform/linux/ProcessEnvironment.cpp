#include "platform/linux/ProcessEnvironment.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace kivo {

std::optional<std::map<std::string, std::string>> processEnvironment(int processId) {
    if (processId <= 0) {
        return std::nullopt;
    }
    std::ifstream file("/proc/" + std::to_string(processId) + "/environ", std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::map<std::string, std::string> environment;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = std::min(text.find('\0', at), text.size());
        const auto entry = text.substr(at, end - at);
        const auto equals = entry.find('=');
        // A process that set its title over its own command line and environment (Chromium does) leaves
        // the title there, or only zeros: what reads is no environment at all.
        const bool named = equals != std::string::npos && equals > 0 &&
                           std::all_of(entry.begin(), entry.begin() + static_cast<long>(equals), [](char c) {
                               return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
                           });
        if (!named && !entry.empty()) {
            return std::nullopt;
        }
        if (named) {
            environment.emplace(entry.substr(0, equals), entry.substr(equals + 1));
        }
        at = end + 1;
    }
    if (environment.empty()) {
        return std::nullopt;
    }
    return environment;
}

} // namespace kivo
