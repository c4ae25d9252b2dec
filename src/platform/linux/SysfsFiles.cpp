#include "platform/linux/SysfsFiles.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace kivo::SysfsFiles {

std::optional<std::vector<std::uint8_t>> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> readText(const std::filesystem::path& path) {
    const auto bytes = readBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    std::string text(bytes->begin(), bytes->end());
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.pop_back();
    }
    return text;
}

std::optional<std::uint64_t> readNumber(const std::filesystem::path& path) {
    const auto text = readText(path);
    if (!text || text->empty() || text->size() > 18) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : *text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

bool naturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool da = std::isdigit(static_cast<unsigned char>(a[i]));
        const bool db = std::isdigit(static_cast<unsigned char>(b[j]));
        if (da && db) {
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) {
                ++ei;
            }
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) {
                ++ej;
            }
            std::string na = a.substr(i, ei - i);
            std::string nb = b.substr(j, ej - j);
            na.erase(0, std::min(na.find_first_not_of('0'), na.size()));
            nb.erase(0, std::min(nb.find_first_not_of('0'), nb.size()));
            if (na.size() != nb.size()) {
                return na.size() < nb.size();
            }
            if (na != nb) {
                return na < nb;
            }
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::optional<std::vector<std::string>> listNames(const std::filesystem::path& directory) {
    std::error_code error;
    std::filesystem::directory_iterator it(directory, error);
    if (error) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error) {
            return std::nullopt;
        }
        names.push_back(it->path().filename().string());
    }
    if (error) {
        return std::nullopt;
    }
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

} // namespace kivo::SysfsFiles
