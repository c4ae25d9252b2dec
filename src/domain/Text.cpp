#include "domain/Text.h"

#include <utf8proc.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace kivo::Text {
namespace {

struct Scalar {
    std::size_t offset; // first byte in the text
    std::size_t length; // bytes taken
    int32_t codepoint;  // -1 for a byte that is not well-formed UTF-8
};

// Decodes one scalar at `offset`; a malformed sequence yields a single byte with codepoint -1.
Scalar scalarAt(std::string_view s, std::size_t offset) {
    utf8proc_int32_t cp = -1;
    const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(s.data() + offset);
    const utf8proc_ssize_t n = utf8proc_iterate(p, static_cast<utf8proc_ssize_t>(s.size() - offset), &cp);
    if (n <= 0 || cp < 0) {
        return Scalar{offset, 1, -1};
    }
    return Scalar{offset, static_cast<std::size_t>(n), cp};
}

template <class F> void forEachScalar(std::string_view s, F&& f) {
    std::size_t i = 0;
    while (i < s.size()) {
        const Scalar sc = scalarAt(s, i);
        f(sc);
        i += sc.length;
    }
}

bool isTrimmable(int32_t cp) {
    return cp == '\t' || (cp >= 0 && utf8proc_category(cp) == UTF8PROC_CATEGORY_ZS);
}

void appendScalar(std::string& out, int32_t cp) {
    utf8proc_uint8_t buf[4];
    const utf8proc_ssize_t n = utf8proc_encode_char(cp, buf);
    out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
}

} // namespace

bool isAscii(std::string_view s) {
    // Eight bytes at a time for the high bit: this runs on every URL of every pass.
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if ((word & 0x8080808080808080ull) != 0) {
            return false;
        }
    }
    for (; i < s.size(); ++i) {
        if (static_cast<unsigned char>(s[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool isValidUtf8(std::string_view s) {
    bool valid = true;
    forEachScalar(s, [&](const Scalar& sc) {
        if (sc.codepoint < 0) {
            valid = false;
        }
    });
    return valid;
}

std::vector<std::string_view> graphemeClusterViews(std::string_view s) {
    std::vector<std::string_view> clusters;
    if (isAscii(s)) {
        // ASCII clusters are single bytes except CR LF, which stays together.
        for (std::size_t i = 0; i < s.size(); ++i) {
            const bool crLf = s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n';
            clusters.push_back(s.substr(i, crLf ? 2 : 1));
            i += crLf ? 1 : 0;
        }
        return clusters;
    }
    utf8proc_int32_t state = 0;
    int32_t previous = -1;
    std::size_t clusterStart = 0;
    forEachScalar(s, [&](const Scalar& sc) {
        if (sc.offset > 0) {
            bool boundary = true;
            if (previous >= 0 && sc.codepoint >= 0) {
                boundary = utf8proc_grapheme_break_stateful(previous, sc.codepoint, &state);
            } else {
                state = 0; // a malformed byte stands alone and restarts the break state
            }
            if (boundary) {
                clusters.push_back(s.substr(clusterStart, sc.offset - clusterStart));
                clusterStart = sc.offset;
            }
        }
        previous = sc.codepoint;
    });
    if (clusterStart < s.size()) {
        clusters.push_back(s.substr(clusterStart));
    }
    return clusters;
}

std::vector<std::string> graphemeClusters(std::string_view s) {
    const std::vector<std::string_view> views = graphemeClusterViews(s);
    return std::vector<std::string>(views.begin(), views.end());
}

std::size_t characterCount(std::string_view s) {
    return graphemeClusterViews(s).size();
}

std::string decomposed(std::string_view s) {
    if (isAscii(s) || !isValidUtf8(s)) {
        return std::string(s);
    }
    utf8proc_uint8_t* out = nullptr;
    const utf8proc_ssize_t n = utf8proc_map(
        reinterpret_cast<const utf8proc_uint8_t*>(s.data()), static_cast<utf8proc_ssize_t>(s.size()), &out,
        static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_DECOMPOSE));
    if (n < 0 || out == nullptr) {
        std::free(out);
        return std::string(s);
    }
    std::string result(reinterpret_cast<const char*>(out), static_cast<std::size_t>(n));
    std::free(out);
    return result;
}

bool canonicallyEqual(std::string_view a, std::string_view b) {
    if (a == b) {
        return true;
    }
    // Two different ASCII texts cannot be canonically equivalent; nor can texts holding malformed bytes.
    if (isAscii(a) && isAscii(b)) {
        return false;
    }
    if (!isValidUtf8(a) || !isValidUtf8(b)) {
        return false;
    }
    return decomposed(a) == decomposed(b);
}

std::string trimmed(std::string_view s) {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool seenKept = false;
    forEachScalar(s, [&](const Scalar& sc) {
        if (!isTrimmable(sc.codepoint)) {
            if (!seenKept) {
                begin = sc.offset;
                seenKept = true;
            }
            end = sc.offset + sc.length;
        }
    });
    if (!seenKept) {
        return std::string();
    }
    return std::string(s.substr(begin, end - begin));
}

std::string lowercased(std::string_view s) {
    if (isAscii(s)) {
        std::string out(s);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return out;
    }
    std::string out;
    out.reserve(s.size());
    forEachScalar(s, [&](const Scalar& sc) {
        if (sc.codepoint < 0) {
            out.append(s.substr(sc.offset, sc.length));
        } else if (sc.codepoint == 0x0130) {
            // The one unconditional full mapping that differs from the simple one: İ → i + combining dot.
            out.push_back('i');
            appendScalar(out, 0x0307);
        } else {
            appendScalar(out, utf8proc_tolower(sc.codepoint));
        }
    });
    return out;
}

} // namespace kivo::Text
