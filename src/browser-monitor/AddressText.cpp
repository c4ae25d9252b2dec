#include "browser-monitor/AddressText.h"

#include <QUrl>

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
