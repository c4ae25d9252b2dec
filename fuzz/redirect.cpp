// The redirect builder. Input: one flag byte (bit 0: append the visited URL), the target up to the first
// newline, then the visited URL. The built text is a URL, is recognised as a redirect target (so the tab
// is not caught again), and its "blocked=" value decodes back to the visited URL.
#include "FuzzCheck.h"
#include "domain/RedirectResolver.h"
#include "domain/ResolvedRedirect.h"
#include "domain/Text.h"
#include "domain/Url.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kivo;

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// As a form decoder on the shield page reads a query value.
std::string formDecoded(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '+') {
            out.push_back(' ');
        } else if (value[i] == '%' && i + 2 < value.size() && hexValue(value[i + 1]) >= 0 &&
                   hexValue(value[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexValue(value[i + 1]) * 16 + hexValue(value[i + 2])));
            i += 2;
        } else {
            out.push_back(value[i]);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool appends = (data[0] & 1) != 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t newline = rest.find('\n');
    const std::string_view targetText = rest.substr(0, newline);
    const std::string_view visited =
        newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);

    // Only web targets are ever sent to a browser; anything else falls back on the shield page.
    auto target = Url::parse(targetText);
    if (!target || !RedirectResolver::isWebURL(*target)) {
        target = RedirectResolver::defaultShieldURL();
    }
    const ResolvedRedirect redirect(*target, appends);
    const std::string built = redirect.finalURLString(visited);

    FUZZ_CHECK(Url::parse(built).has_value());
    FUZZ_CHECK(RedirectResolver::isRedirectTarget(built, {target->text()}));
    FUZZ_CHECK(built.compare(0, target->text().size(), target->text()) == 0);
    if (!appends) {
        FUZZ_CHECK(built == target->text());
        return 0;
    }
    const std::string_view tail = std::string_view(built).substr(target->text().size());
    const std::string_view separator =
        target->text().find('?') == std::string::npos ? "?blocked=" : "&blocked=";
    FUZZ_CHECK(tail.substr(0, separator.size()) == separator);
    const std::string_view value = tail.substr(separator.size());
    // Nothing in the value may read as structure: another parameter, a value, a space or a fragment.
    FUZZ_CHECK(value.find_first_of("&=+#") == std::string_view::npos);
    const std::string expected = Text::isValidUtf8(visited) ? std::string(visited) : std::string();
    FUZZ_CHECK(formDecoded(value) == expected);
    return 0;
}
