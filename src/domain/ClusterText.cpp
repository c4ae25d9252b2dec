#include "domain/ClusterText.h"

#include "domain/Text.h"

#include <cstring>
#include <utf8proc.h>

namespace kivo {

namespace {

// Appends the canonical decomposition of one cluster (valid UTF-8) to `out`.
void appendDecomposed(std::string_view cluster, std::string& out, std::vector<utf8proc_int32_t>& scratch) {
    const auto* data = reinterpret_cast<const utf8proc_uint8_t*>(cluster.data());
    const auto length = static_cast<utf8proc_ssize_t>(cluster.size());
    if (scratch.size() < cluster.size() * 4 + 4) {
        scratch.resize(cluster.size() * 4 + 4);
    }
    utf8proc_ssize_t count = utf8proc_decompose(
        data, length, scratch.data(), static_cast<utf8proc_ssize_t>(scratch.size()), UTF8PROC_DECOMPOSE);
    if (count > static_cast<utf8proc_ssize_t>(scratch.size())) {
        scratch.resize(static_cast<std::size_t>(count));
        count = utf8proc_decompose(data, length, scratch.data(),
                                   static_cast<utf8proc_ssize_t>(scratch.size()), UTF8PROC_DECOMPOSE);
    }
    if (count < 0) {
        out.append(cluster); // cannot happen for valid UTF-8; keep the bytes rather than lose them
        return;
    }
    utf8proc_uint8_t encoded[4];
    for (utf8proc_ssize_t i = 0; i < count; ++i) {
        const auto n = utf8proc_encode_char(scratch[static_cast<std::size_t>(i)], encoded);
        out.append(reinterpret_cast<const char*>(encoded), static_cast<std::size_t>(n));
    }
}

} // namespace

bool ClusterText::isSimpleText(std::string_view text) {
    if (!Text::isAscii(text)) {
        return false;
    }
    for (std::size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', cr + 1)) {
        if (cr + 1 < text.size() && text[cr + 1] == '\n') {
            return false;
        }
    }
    return true;
}

ClusterText ClusterText::from(std::string_view text) {
    ClusterText result;
    if (isSimpleText(text)) {
        result.bytes_.assign(text);
        return result;
    }
    result.bytes_.reserve(text.size() + text.size() / 2);
    result.boundaries_.reserve(text.size() + 8);
    std::vector<utf8proc_int32_t> scratch;
    for (const auto cluster : Text::graphemeClusterViews(text)) {
        result.boundaries_.push_back(1);
        utf8proc_int32_t first = -1;
        if (utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(cluster.data()),
                             static_cast<utf8proc_ssize_t>(cluster.size()), &first) < 0) {
            result.bytes_.append(cluster); // a stray byte stays as it is
        } else {
            appendDecomposed(cluster, result.bytes_, scratch);
        }
        result.boundaries_.resize(result.bytes_.size(), 0);
    }
    result.boundaries_.push_back(1);
    return result;
}

std::vector<std::string_view> ClusterText::clusters() const {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 1; i <= bytes_.size(); ++i) {
        if (isBoundary(i)) {
            out.emplace_back(bytes_.data() + start, i - start);
            start = i;
        }
    }
    return out;
}

ClusterText ClusterText::fromClusters(const std::vector<std::string_view>& clusters) {
    ClusterText result;
    bool simple = true;
    for (const auto c : clusters) {
        if (c.size() != 1) {
            simple = false;
        }
        result.bytes_.append(c);
    }
    if (!simple) {
        result.boundaries_.reserve(result.bytes_.size() + 1);
        for (const auto c : clusters) {
            result.boundaries_.push_back(1);
            result.boundaries_.resize(result.boundaries_.size() + c.size() - 1, 0);
        }
        result.boundaries_.push_back(1);
    }
    return result;
}

bool ClusterText::occursAt(const ClusterText& part, std::size_t offset) const {
    if (offset + part.size() > size()) {
        return false;
    }
    if (std::memcmp(bytes_.data() + offset, part.bytes_.data(), part.size()) != 0) {
        return false;
    }
    if (isSimple() && part.isSimple()) {
        return true;
    }
    for (std::size_t j = 0; j <= part.size(); ++j) {
        if (isBoundary(offset + j) != part.isBoundary(j)) {
            return false;
        }
    }
    return true;
}

} // namespace kivo
