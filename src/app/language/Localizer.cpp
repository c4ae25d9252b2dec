#include "app/language/Localizer.h"

#include "core/Log.h"

#include <string>

namespace kivo {

namespace {

std::size_t indexOf(LanguagePreference language) {
    return static_cast<std::size_t>(language.value());
}

QString catalogPath(LanguagePreference language) {
    // File names use "_" where the locale identifier has "-" ("kivo_zh_Hans.qm").
    QString identifier = QString::fromUtf8(language.localeIdentifier().data(),
                                           static_cast<qsizetype>(language.localeIdentifier().size()));
    identifier.replace(QLatin1Char('-'), QLatin1Char('_'));
    return QStringLiteral(":/i18n/kivo_%1.qm").arg(identifier);
}

} // namespace

Localizer::Localizer() {
    for (LanguagePreference language : LanguagePreference::allCases()) {
        auto translator = std::make_unique<QTranslator>();
        const QString path = catalogPath(language);
        if (translator->load(path)) {
            translators_[indexOf(language)] = std::move(translator);
        } else {
            qCWarning(lcLifecycle, "String catalog %s could not be loaded", qPrintable(path));
        }
    }
}

Localizer::~Localizer() = default;

std::optional<QString> Localizer::catalogFormat(const char* key, LanguagePreference language) const {
    const auto& translator = translators_[indexOf(language)];
    if (!translator) {
        return std::nullopt;
    }
    // Id-based catalogs keep every message under the empty context, addressed by its id.
    QString format = translator->translate(nullptr, key);
    if (format.isEmpty()) {
        return std::nullopt;
    }
    return format;
}

QString Localizer::text(const LocalizedString& text, LanguagePreference language) const {
    if (std::optional<QString> format = catalogFormat(text.key(), language)) {
        return text.fill(*format);
    }
    return text.defaultValue();
}

bool Localizer::hasCatalog(LanguagePreference language) const {
    return translators_[indexOf(language)] != nullptr;
}

QLocale Localizer::locale(LanguagePreference language) {
    return QLocale(QString::fromUtf8(language.localeIdentifier().data(),
                                     static_cast<qsizetype>(language.localeIdentifier().size())));
}

} // namespace kivo
