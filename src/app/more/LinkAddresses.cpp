#include "app/more/LinkAddresses.h"

#include "KivoLinkSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef KIVO_DATA_FROM_BINDIR
#define KIVO_DATA_FROM_BINDIR ""
#endif
#ifndef KIVO_BUILD_DATA_DIR
#define KIVO_BUILD_DATA_DIR ""
#endif

namespace kivo {

LinkAddresses LinkAddresses::builtIn() {
    LinkAddresses addresses;
    addresses.feedback = QStringLiteral(KIVO_FEEDBACK_URL);
    addresses.feedbackJapanese = QStringLiteral(KIVO_FEEDBACK_URL_JA);
    addresses.privacySite = QStringLiteral(KIVO_PRIVACY_SITE);
    addresses.libraryRepository = QStringLiteral(KIVO_BRIGHTNESS_LIBRARY_URL);
    // Installed: the data directory relative to the program, so a moved prefix still finds it. Run from
    // the build tree: the copy the build keeps there.
    const QString relative = QStringLiteral(KIVO_DATA_FROM_BINDIR);
    const QStringList candidates{
        relative.isEmpty() ? QString() : QDir(QCoreApplication::applicationDirPath()).filePath(relative),
        QStringLiteral(KIVO_BUILD_DATA_DIR)};
    for (const QString& directory : candidates) {
        if (!directory.isEmpty() &&
            QFileInfo(QDir(directory).filePath(QStringLiteral("privacy.html"))).isFile()) {
            addresses.statementDirectory = QDir::cleanPath(QFileInfo(directory).absoluteFilePath());
            break;
        }
    }
    return addresses;
}

std::optional<QUrl> LinkAddresses::webPage(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http"))) {
        return std::nullopt;
    }
    return url;
}

} // namespace kivo
