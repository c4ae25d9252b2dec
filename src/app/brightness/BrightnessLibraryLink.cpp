#include "app/brightness/BrightnessLibraryLink.h"

namespace kivo::BrightnessLibraryLink {

QString title(const LinkAddresses& addresses) {
    const std::optional<QUrl> address = url(addresses);
    if (!address) {
        return QStringLiteral("Dimwell");
    }
    return address->toString(QUrl::RemoveScheme | QUrl::StripTrailingSlash).mid(2); // drops the "//"
}

std::optional<QUrl> url(const LinkAddresses& addresses) {
    return LinkAddresses::webPage(addresses.libraryRepository);
}

} // namespace kivo::BrightnessLibraryLink
