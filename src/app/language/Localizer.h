#pragma once

#include "app/language/LocalizedString.h"
#include "domain/LanguagePreference.h"

#include <QLocale>
#include <QString>
#include <QTranslator>

#include <array>
#include <memory>
#include <optional>

namespace kivo {

// Resolves catalog texts in an explicitly chosen language, independent of any translator installed on
// the application: seed names and the tray menu need a given language, not the current one.
class Localizer {
public:
    // Loads the five catalogs embedded in the program (":/i18n/kivo_<language>.qm").
    Localizer();
    ~Localizer();
    Localizer(const Localizer&) = delete;
    Localizer& operator=(const Localizer&) = delete;

    // The catalog text of `text` in `language`, with its argument in place; the default value when the
    // catalog has no entry for the key.
    QString text(const LocalizedString& text, LanguagePreference language) const;

    // The catalog format stored for `key` in `language`, placeholder unfilled; none when it is missing.
    std::optional<QString> catalogFormat(const char* key, LanguagePreference language) const;

    // Whether the catalog of `language` was found and loaded.
    bool hasCatalog(LanguagePreference language) const;

    // The locale made from the language's catalog identifier ("ja", "en", "ko", "zh-Hans", "zh-Hant").
    static QLocale locale(LanguagePreference language);

private:
    std::array<std::unique_ptr<QTranslator>, 5> translators_;
};

} // namespace kivo
