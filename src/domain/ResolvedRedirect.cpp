#include "domain/ResolvedRedirect.h"

#include "domain/Text.h"

namespace kivo {

namespace {

// Characters that may stand unescaped in the value: the query characters of RFC 3986 except the three
// that a form decoder reads as structure ("&", "=", "+").
bool staysUnescaped(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return true;
    }
    switch (c) {
    case '-':
    case '.':
    case '_':
    case '~':
    case '!':
    case '$':
    case '\'':
    case '(':
    case ')':
    case '*':
    case ',':
    case ';':
    case ':':
    case '@':
    case '/':
    case '?':
        return true;
    default:
        return false;
    }
}

std::string encodedForQuery(std::string_view text) {
    if (!Text::isValidUtf8(text)) {
        return {};
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (staysUnescaped(c)) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        }
    }
    return out;
}

} // namespace

std::string ResolvedRedirect::finalURLString(std::string_view visitedURL) const {
    std::string result = url.text();
    if (!appendsQueryParameters) {
        return result;
    }
    result += result.find('?') == std::string::npos ? '?' : '&';
    result += "blocked=";
    result += encodedForQuery(visitedURL);
    return result;
}

} // namespace kivo
