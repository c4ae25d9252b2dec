#include "browser-monitor/AddressText.h"

#include <QUrl>

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace kivo {
namespace AddressText {

std::string canonical(const std::string& url) {
    QUrl parsed(QString::fromStdString(url), QUrl::TolerantMode);
    if (!parsed.isValid()) {
        return url;
    }
    if (parsed.path().isEmpty() && !parsed.host().isEmpty()) {
        parsed.setPath(QStringLiteral("/"));
    }
    // Decoded except for the delimiters whose encoding carries meaning ("%2F" in a path, "%26" in a
    // query value).
    const QString host = QUrl::fromAce(QUrl::toAce(parsed.host()));
    parsed.setHost(host);
    return parsed.toString(QUrl::PrettyDecoded | QUrl::DecodeReserved).toStdString();
}

bool sameAddress(const std::string& a, const std::string& b) {
    return a == b || canonical(a) == canonical(b);
}

bool sameShownAddress(const std::string& shown, const std::string& url) {
    if (sameAddress(shown, url)) {
        return true;
    }
    // A shown scheme leads the text; "://" further on belongs to the path or query.
    const auto separator = shown.find("://");
    const bool hasScheme =
        separator != std::string::npos && separator > 0 &&
        std::all_of(shown.begin(), shown.begin() + static_cast<std::ptrdiff_t>(separator),
                    [](unsigned char c) { return std::isalnum(c) || c == '+' || c == '-' || c == '.'; });
    QUrl parsed(QString::fromStdString(url), QUrl::TolerantMode);
    if (!parsed.isValid() || parsed.scheme().isEmpty() || hasScheme) {
        return false;
    }
    const std::string withScheme = parsed.scheme().toStdString() + "://" + shown;
    if (sameAddress(withScheme, url)) {
        return true;
    }
    if (!parsed.host().startsWith(QLatin1String("www."))) {
        return false;
    }
    parsed.setHost(parsed.host().mid(4));
    return sameAddress(withScheme, parsed.toString().toStdString());
}

bool hasControlCharacter(const std::string& text) {
    for (const unsigned char c : text) {
        if (c < 0x20 || c == 0x7f) {
            return true;
        }
    }
    return false;
}

} // namespace AddressText
} // namespace kivo
