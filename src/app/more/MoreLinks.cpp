#include "app/more/MoreLinks.h"

namespace kivo::MoreLinks {
namespace {

constexpr const char* kSite = "https://kivo.example";

} // namespace

QUrl feedbackURL(LanguagePreference language) {
    if (language == LanguagePreference::japanese()) {
        return QUrl(QStringLiteral("https://forms.example/kivo-feedback-ja"));
    }
    return QUrl(QStringLiteral("https://forms.example/kivo-feedback"));
}

QUrl privacyPolicyURL(LanguagePreference language) {
    const char* path = "/privacy";
    switch (language.value()) {
    case LanguagePreference::Case::japanese:
        path = "/ja/privacy";
        break;
    case LanguagePreference::Case::english:
        break;
    case LanguagePreference::Case::korean:
        path = "/ko/privacy";
        break;
    case LanguagePreference::Case::simplifiedChinese:
        path = "/zh-Hans/privacy";
        break;
    case LanguagePreference::Case::traditionalChinese:
        path = "/zh-Hant/privacy";
        break;
    }
    return QUrl(QString::fromLatin1(kSite) + QString::fromLatin1(path));
}

} // namespace kivo::MoreLinks
