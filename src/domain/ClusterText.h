#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

// A text prepared for matching by user-perceived characters: every extended grapheme cluster is stored
// in its canonical decomposition (NFD), so two clusters are canonically equivalent exactly when their
// stored bytes are equal. The cluster boundaries are kept beside the bytes, because equal bytes alone do
// not make equal clusters ("e" followed by a combining accent is one character, not an "e").
//
// Texts that are ASCII without a CR LF pair (nearly every URL) take a fast path: each byte is one
// cluster and no boundary table is stored.
class ClusterText {
public:
    ClusterText() = default;

    static ClusterText from(std::string_view text);

    const std::string& bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    bool isEmpty() const { return bytes_.empty(); }

    // Every byte is a cluster of its own.
    bool isSimple() const { return boundaries_.empty(); }

    // Whether a cluster starts (or the text ends) at the byte offset.
    bool isBoundary(std::size_t offset) const { return boundaries_.empty() || boundaries_[offset] != 0; }

    // The clusters as byte ranges of bytes(), in order.
    std::vector<std::string_view> clusters() const;

    // Whether `part` occurs at `offset` as a run of whole clusters, each equal to its counterpart.
    bool occursAt(const ClusterText& part, std::size_t offset) const;

    // Builds a text from clusters already decomposed (used to cut a text at cluster boundaries).
    static ClusterText fromClusters(const std::vector<std::string_view>& clusters);

    // True when the text is ASCII without CR LF: bytes and clusters coincide, and the NFD is the text.
    static bool isSimpleText(std::string_view text);

    bool operator==(const ClusterText& other) const = default;

private:
    std::string bytes_;
    std::vector<std::uint8_t> boundaries_; // size()+1 entries, or empty when every offset is a boundary
};

} // namespace kivo
