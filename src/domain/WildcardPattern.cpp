#include "domain/WildcardPattern.h"

#include <cstring>
#include <string.h> // memmem

namespace kivo {

namespace {

constexpr std::uint32_t kMultiplier = 2654435761u;

inline unsigned pairSlot(unsigned char a, unsigned char b) {
    return ((static_cast<std::uint32_t>(a) << 8 | b) * kMultiplier) >> 24;
}

inline unsigned singleSlot(unsigned char a) {
    return ((0x10000u | a) * kMultiplier) >> 24;
}

inline void setSlot(std::array<std::uint64_t, 4>& bits, unsigned slot) {
    bits[slot >> 6] |= std::uint64_t{1} << (slot & 63);
}

// Leftmost offset in [from, last] at which `piece` occurs as whole clusters, or npos.
std::size_t findPiece(const ClusterText& subject, const ClusterText& piece, std::size_t from,
                      std::size_t last) {
    const std::string& hay = subject.bytes();
    const std::string& needle = piece.bytes();
    std::size_t at = from;
    while (at <= last) {
        const void* hit = memmem(hay.data() + at, last - at + needle.size(), needle.data(), needle.size());
        if (hit == nullptr) {
            return std::string::npos;
        }
        const auto offset = static_cast<std::size_t>(static_cast<const char*>(hit) - hay.data());
        if (subject.occursAt(piece, offset)) {
            return offset;
        }
        at = offset + 1;
    }
    return std::string::npos;
}

} // namespace

WildcardPattern::Fingerprint WildcardPattern::Fingerprint::of(std::string_view bytes) {
    Fingerprint f;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        setSlot(f.bits, singleSlot(a));
        if (i + 1 < bytes.size()) {
            setSlot(f.bits, pairSlot(a, static_cast<unsigned char>(bytes[i + 1])));
        }
    }
    return f;
}

void WildcardPattern::Fingerprint::addPiece(std::string_view bytes) {
    if (bytes.size() == 1) {
        setSlot(bits, singleSlot(static_cast<unsigned char>(bytes[0])));
    }
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        setSlot(bits,
                pairSlot(static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(bytes[i + 1])));
    }
}

WildcardPattern::WildcardPattern(std::string_view pattern) {
    const ClusterText text = ClusterText::from(pattern);
    if (text.isSimple() && text.bytes().find('*') == std::string::npos) {
        head_ = text;
    } else {
        std::vector<ClusterText> pieces;
        std::vector<std::string_view> current;
        for (const auto cluster : text.clusters()) {
            if (cluster == "*") {
                pieces.push_back(ClusterText::fromClusters(current));
                current.clear();
            } else {
                current.push_back(cluster);
            }
        }
        pieces.push_back(ClusterText::fromClusters(current));
        hasStar_ = pieces.size() > 1;
        head_ = std::move(pieces.front());
        if (hasStar_) {
            tail_ = std::move(pieces.back());
            for (std::size_t i = 1; i + 1 < pieces.size(); ++i) {
                if (!pieces[i].isEmpty()) {
                    middle_.push_back(std::move(pieces[i]));
                }
            }
        }
    }
    literalSize_ = head_.size() + tail_.size();
    fingerprint_.addPiece(head_.bytes());
    fingerprint_.addPiece(tail_.bytes());
    for (const auto& piece : middle_) {
        literalSize_ += piece.size();
        fingerprint_.addPiece(piece.bytes());
    }
}

bool WildcardPattern::matches(const ClusterText& subject) const {
    if (!hasStar_) {
        return subject.size() == head_.size() && subject.occursAt(head_, 0);
    }
    const std::size_t n = subject.size();
    if (n < literalSize_) {
        return false;
    }
    if (!subject.occursAt(head_, 0) || !subject.occursAt(tail_, n - tail_.size())) {
        return false;
    }
    std::size_t position = head_.size();
    const std::size_t end = n - tail_.size();
    for (const auto& piece : middle_) {
        if (position + piece.size() > end) {
            return false;
        }
        const std::size_t found = findPiece(subject, piece, position, end - piece.size());
        if (found == std::string::npos) {
            return false;
        }
        position = found + piece.size();
    }
    return true;
}

bool WildcardPattern::matchesSimple(std::string_view pattern, std::string_view subject) {
    const std::size_t firstStar = pattern.find('*');
    if (firstStar == std::string_view::npos) {
        return pattern == subject;
    }
    const std::size_t lastStar = pattern.rfind('*');
    const std::string_view head = pattern.substr(0, firstStar);
    const std::string_view tail = pattern.substr(lastStar + 1);
    if (subject.size() < head.size() + tail.size() || !subject.starts_with(head) ||
        !subject.ends_with(tail)) {
        return false;
    }
    std::size_t position = head.size();
    const std::size_t end = subject.size() - tail.size();
    std::size_t pieceStart = firstStar + 1;
    while (pieceStart <= lastStar) {
        const std::size_t pieceEnd = pattern.find('*', pieceStart);
        const std::size_t length = pieceEnd - pieceStart;
        if (length > 0) {
            if (position + length > end) {
                return false;
            }
            const void* hit =
                memmem(subject.data() + position, end - position, pattern.data() + pieceStart, length);
            if (hit == nullptr) {
                return false;
            }
            position = static_cast<std::size_t>(static_cast<const char*>(hit) - subject.data()) + length;
        }
        pieceStart = pieceEnd + 1;
    }
    return true;
}

} // namespace kivo
