// The URL parser: an accepted text is kept exactly, its parts put back together give the text again,
// and parsing that text once more gives the same parts.
#include "domain/Url.h"
#include "FuzzCheck.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kivo;

namespace {

std::string recomposed(const Url& url) {
    std::string text;
    if (!url.scheme().empty()) {
        text += url.scheme() + ":";
    }
    if (url.hasAuthority()) {
        text += "//";
        if (url.userInfo()) {
            text += *url.userInfo() + "@";
        }
        text += url.host();
        if (url.portText()) {
            text += ":" + *url.portText();
        }
    }
    text += url.path();
    if (url.query()) {
        text += "?" + *url.query();
    }
    if (url.fragment()) {
        text += "#" + *url.fragment();
    }
    return text;
}

bool samePieces(const Url& a, const Url& b) {
    return a.text() == b.text() && a.scheme() == b.scheme() && a.hasAuthority() == b.hasAuthority() &&
           a.userInfo() == b.userInfo() && a.host() == b.host() && a.portText() == b.portText() &&
           a.port() == b.port() && a.path() == b.path() && a.query() == b.query() &&
           a.fragment() == b.fragment();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto url = Url::parse(text);
    if (!url) {
        return 0;
    }
    FUZZ_CHECK(url->text() == text);
    FUZZ_CHECK(recomposed(*url) == text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        FUZZ_CHECK(byte > 0x20 && byte < 0x7F);
        if (text[i] == '%') {
            FUZZ_CHECK(i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                       std::isxdigit(static_cast<unsigned char>(text[i + 2])));
        }
    }
    if (const auto port = url->port()) {
        FUZZ_CHECK(*port >= 0 && *port <= 65535);
    }
    const auto again = Url::parse(url->text());
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(samePieces(*url, *again));
    return 0;
}
