#pragma once

#include "domain/ClusterText.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kivo {

// A glob pattern in which "*" stands for any run of characters and every other character for itself,
// prepared once so that it can be tried against many subjects.
//
// Matching never backtracks: the pattern is split at its stars into literal pieces; the first piece must
// start the subject, the last must end it, and each piece in between is taken at its leftmost place
// after the previous one. Taking the leftmost place is always safe because a star can absorb whatever
// lies between two pieces, so a later place could only leave less room for the pieces that follow.
// The cost is linear in the subject for any pattern, however many stars it holds.
class WildcardPattern {
public:
    // A cheap necessary condition: the byte pairs (and single bytes) a text contains, hashed into 256
    // bits. A piece can only occur in a subject whose set holds every pair of the piece.
    struct Fingerprint {
        std::array<std::uint64_t, 4> bits{};

        static Fingerprint of(std::string_view bytes);
        void addPiece(std::string_view bytes);
        bool isCoveredBy(const Fingerprint& subject) const {
            return (bits[0] & ~subject.bits[0]) == 0 && (bits[1] & ~subject.bits[1]) == 0 &&
                   (bits[2] & ~subject.bits[2]) == 0 && (bits[3] & ~subject.bits[3]) == 0;
        }
    };

    WildcardPattern() = default;

    // `pattern` is taken as it is: callers fold letter case first where they want it folded.
    explicit WildcardPattern(std::string_view pattern);

    bool matches(const ClusterText& subject) const;

    // The same answer, with the subject's fingerprint computed once by the caller for many patterns.
    bool matches(const ClusterText& subject, const Fingerprint& subjectFingerprint) const {
        return fingerprint_.isCoveredBy(subjectFingerprint) && matches(subject);
    }

    // One-off match of a pattern and a subject that are both simple texts (ASCII without CR LF, see
    // ClusterText::isSimpleText), where every byte is a character: no allocation at all.
    static bool matchesSimple(std::string_view pattern, std::string_view subject);

    const Fingerprint& fingerprint() const { return fingerprint_; }

private:
    bool hasStar_ = false;
    ClusterText head_;                // before the first star (the whole pattern when there is none)
    ClusterText tail_;                // after the last star
    std::vector<ClusterText> middle_; // the non-empty pieces between stars, in order
    std::size_t literalSize_ = 0;     // bytes the subject needs at least
    Fingerprint fingerprint_;
};

} // namespace kivo
