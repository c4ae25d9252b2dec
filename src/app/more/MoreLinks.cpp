#include "app/more/MoreLinks.h"

#include <QDir>
#include <QFileInfo>

namespace kivo::MoreLinks {
namespace {

// The language's part of a privacy page's path; English has the default page.
QString languageTag(LanguagePreference language) {
    switch (language.value()) {
    case LanguagePreference::Case::japanese:
        return QStringLiteral("ja");
    case LanguagePreference::Case::english:
        break;
    case LanguagePreference::Case::korean:
        return QStringLiteral("ko");
    case LanguagePreference::Case::simplifiedChinese:
        return QStringLiteral("zh-Hans");
    case LanguagePreference::Case::traditionalChinese:
        return QStringLiteral("zh-Hant");
    }
    return QString();
}

} // namespace

std::optional<QUrl> feedbackURL(const LinkAddresses& addresses, LanguagePreference language) {
    if (language == LanguagePreference::japanese() && !addresses.feedbackJapanese.isEmpty()) {
        return LinkAddresses::webPage(addresses.feedbackJapanese);
    }
    return LinkAddresses::webPage(addresses.feedback);
}

std::optional<QUrl> privacyPolicyURL(const LinkAddresses& addresses, LanguagePreference language) {
    const QString tag = languageTag(language);
    if (!addresses.privacySite.isEmpty()) {
        QString site = addresses.privacySite;
        while (site.endsWith(QLatin1Char('/'))) {
            site.chop(1);
        }
        return LinkAddresses::webPage(site + (tag.isEmpty() ? QString() : QLatin1Char('/') + tag) +
                                      QStringLiteral("/privacy"));
    }
    if (addresses.statementDirectory.isEmpty()) {
        return std::nullopt;
    }
    const QDir directory(addresses.statementDirectory);
    QStringList names{QStringLiteral("privacy.html")};
    if (!tag.isEmpty()) {
        names.prepend(QStringLiteral("privacy.%1.html").arg(tag));
    }
    for (const QString& name : names) {
        const QFileInfo file(directory.filePath(name));
        if (file.isFile()) {
            return QUrl::fromLocalFile(file.absoluteFilePath());
        }
    }
    return std::nullopt;
}

} // namespace kivo::MoreLinks
