#include "domain/Url.h"

#include <cstddef>
#include <string>

namespace kivo {
namespace {

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHex(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isUnreserved(char c) {
    return isAlpha(c) || isDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}
bool isSubDelim(char c) {
    switch (c) {
    case '!':
    case '$':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case ';':
    case '=':
        return true;
    default:
        return false;
    }
}

// Checks that every character of `s` is in the set `allowed` or a well-formed percent escape.
template <class Allowed> bool isEscapedRun(std::string_view s, Allowed allowed) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '%') {
            if (i + 2 >= s.size() || !isHex(s[i + 1]) || !isHex(s[i + 2])) {
                return false;
            }
            i += 2;
        } else if (!allowed(c)) {
            return false;
        }
    }
    return true;
}

bool isPchar(char c) {
    return isUnreserved(c) || isSubDelim(c) || c == ':' || c == '@';
}
bool isPathChar(char c) {
    return isPchar(c) || c == '/';
}
bool isQueryChar(char c) {
    return isPchar(c) || c == '/' || c == '?';
}

bool isScheme(std::string_view s) {
    if (s.empty() || !isAlpha(s[0])) {
        return false;
    }
    for (const char c : s) {
        if (!(isAlpha(c) || isDigit(c) || c == '+' || c == '-' || c == '.')) {
            return false;
        }
    }
    return true;
}

bool isDecOctet(std::string_view s) {
    if (s.empty() || s.size() > 3) {
        return false;
    }
    for (const char c : s) {
        if (!isDigit(c)) {
            return false;
        }
    }
    if (s.size() > 1 && s[0] == '0') {
        return false;
    }
    return std::stoi(std::string(s)) <= 255;
}

bool isIpv4(std::string_view s) {
    int parts = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = s.find('.', start);
        const std::string_view part = s.substr(start, dot == std::string_view::npos ? s.npos : dot - start);
        if (!isDecOctet(part)) {
            return false;
        }
        ++parts;
        if (dot == std::string_view::npos) {
            break;
        }
        start = dot + 1;
    }
    return parts == 4;
}

bool isH16(std::string_view s) {
    if (s.empty() || s.size() > 4) {
        return false;
    }
    for (const char c : s) {
        if (!isHex(c)) {
            return false;
        }
    }
    return true;
}

// IPv6address of RFC 3986: eight 16-bit pieces (the last two may be an IPv4 address), with at most one
// "::" standing for one or more zero pieces.
bool isIpv6(std::string_view s) {
    const std::size_t gap = s.find("::");
    if (gap != std::string_view::npos && s.find("::", gap + 1) != std::string_view::npos) {
        return false;
    }
    auto countPieces = [](std::string_view part, bool mayEndWithIpv4, int& pieces) {
        if (part.empty()) {
            return true;
        }
        std::size_t start = 0;
        while (true) {
            const std::size_t colon = part.find(':', start);
            const std::string_view piece =
                part.substr(start, colon == std::string_view::npos ? part.npos : colon - start);
            if (colon == std::string_view::npos && mayEndWithIpv4 &&
                piece.find('.') != std::string_view::npos) {
                if (!isIpv4(piece)) {
                    return false;
                }
                pieces += 2;
                return true;
            }
            if (!isH16(piece)) {
                return false;
            }
            ++pieces;
            if (colon == std::string_view::npos) {
                return true;
            }
            start = colon + 1;
        }
    };
    int pieces = 0;
    if (gap == std::string_view::npos) {
        return countPieces(s, true, pieces) && pieces == 8;
    }
    const std::string_view head = s.substr(0, gap);
    const std::string_view tail = s.substr(gap + 2);
    if (!countPieces(head, false, pieces) || !countPieces(tail, true, pieces)) {
        return false;
    }
    return pieces <= 7;
}

bool isIpvFuture(std::string_view s) {
    if (s.size() < 4 || (s[0] != 'v' && s[0] != 'V')) {
        return false;
    }
    const std::size_t dot = s.find('.');
    if (dot == std::string_view::npos || dot < 2 || dot + 1 >= s.size()) {
        return false;
    }
    for (std::size_t i = 1; i < dot; ++i) {
        if (!isHex(s[i])) {
            return false;
        }
    }
    for (std::size_t i = dot + 1; i < s.size(); ++i) {
        if (!(isUnreserved(s[i]) || isSubDelim(s[i]) || s[i] == ':')) {
            return false;
        }
    }
    return true;
}

bool isHost(std::string_view s) {
    if (!s.empty() && s.front() == '[') {
        if (s.size() < 2 || s.back() != ']') {
            return false;
        }
        const std::string_view inner = s.substr(1, s.size() - 2);
        return isIpv6(inner) || isIpvFuture(inner);
    }
    // A reg-name also covers every IPv4 address.
    return isEscapedRun(s, [](char c) { return isUnreserved(c) || isSubDelim(c); });
}

} // namespace

std::optional<Url> Url::parse(std::string_view text) {
    Url url;
    url.text_ = std::string(text);
    std::string_view rest = text;

    // Fragment, then query: the first "#" ends everything before it, the first "?" ends the path.
    const std::size_t hash = rest.find('#');
    if (hash != std::string_view::npos) {
        const std::string_view fragment = rest.substr(hash + 1);
        if (!isEscapedRun(fragment, isQueryChar)) {
            return std::nullopt;
        }
        url.fragment_ = std::string(fragment);
        rest = rest.substr(0, hash);
    }
    const std::size_t question = rest.find('?');
    if (question != std::string_view::npos) {
        const std::string_view query = rest.substr(question + 1);
        if (!isEscapedRun(query, isQueryChar)) {
            return std::nullopt;
        }
        url.query_ = std::string(query);
        rest = rest.substr(0, question);
    }

    // A scheme is whatever precedes a ":" that comes before any "/"; it must then follow the scheme rule
    // (a relative path may not hold ":" in its first segment).
    const std::size_t colon = rest.find(':');
    const std::size_t slash = rest.find('/');
    if (colon != std::string_view::npos && (slash == std::string_view::npos || colon < slash)) {
        const std::string_view scheme = rest.substr(0, colon);
        if (!isScheme(scheme)) {
            return std::nullopt;
        }
        url.scheme_ = std::string(scheme);
        rest = rest.substr(colon + 1);
    }

    if (rest.substr(0, 2) == "//") {
        rest = rest.substr(2);
        const std::size_t end = rest.find('/');
        std::string_view authority = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        url.hasAuthority_ = true;
        const std::size_t at = authority.rfind('@');
        if (at != std::string_view::npos) {
            const std::string_view userInfo = authority.substr(0, at);
            if (!isEscapedRun(userInfo,
                              [](char c) { return isUnreserved(c) || isSubDelim(c) || c == ':'; })) {
                return std::nullopt;
            }
            url.userInfo_ = std::string(userInfo);
            authority = authority.substr(at + 1);
        }
        // The port follows the last ":" that is not inside an IP literal.
        const std::size_t closing = authority.rfind(']');
        const std::size_t portColon = authority.rfind(':');
        if (portColon != std::string_view::npos &&
            (closing == std::string_view::npos || portColon > closing)) {
            const std::string_view port = authority.substr(portColon + 1);
            for (const char c : port) {
                if (!isDigit(c)) {
                    return std::nullopt;
                }
            }
            url.port_ = std::string(port);
            authority = authority.substr(0, portColon);
        }
        if (!isHost(authority)) {
            return std::nullopt;
        }
        url.host_ = std::string(authority);
    }

    if (!isEscapedRun(rest, isPathChar)) {
        return std::nullopt;
    }
    url.path_ = std::string(rest);
    return url;
}

bool Url::hasScheme(std::string_view lowerCaseScheme) const {
    if (scheme_.size() != lowerCaseScheme.size()) {
        return false;
    }
    for (std::size_t i = 0; i < scheme_.size(); ++i) {
        char c = scheme_[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != lowerCaseScheme[i]) {
            return false;
        }
    }
    return true;
}

std::optional<int> Url::port() const {
    if (!port_ || port_->empty() || port_->size() > 5) {
        return std::nullopt;
    }
    const int value = std::stoi(*port_);
    if (value > 65535) {
        return std::nullopt;
    }
    return value;
}

} // namespace kivo
