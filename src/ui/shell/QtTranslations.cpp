#include "ui/shell/QtTranslations.h"

#include "app/language/Localizer.h"
#include "core/Log.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include <string>

namespace kivo {

QtTranslations::QtTranslations(QString directory) : directory_(std::move(directory)) {}

QtTranslations::~QtTranslations() {
    if (installed_)
        QCoreApplication::removeTranslator(&translator_);
}

QString QtTranslations::defaultDirectory() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool QtTranslations::use(LanguagePreference language) {
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
        installed_ = false;
    }
    // The locale's UI languages lead from "zh-Hans" to "qtbase_zh_CN" and from "zh-Hant" to "qtbase_zh_TW".
    if (!translator_.load(Localizer::locale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                          directory_)) {
        qCWarning(lcLifecycle, "Qt's own texts stay English: no Qt catalog for %s in %s",
                  std::string(language.localeIdentifier()).c_str(), qUtf8Printable(directory_));
        return false;
    }
    installed_ = QCoreApplication::installTranslator(&translator_);
    return installed_;
}

} // namespace kivo
