#include "app/language/LanguageController.h"

#include <QLocale>
#include <QRegularExpression>

namespace kivo {

LanguageController::LanguageController(LanguagePreferenceStore store, const QStringList& preferredLanguages,
                                       QObject* parent)
    : QObject(parent), store_(store), current_(store.load().value_or(systemFallback(preferredLanguages))),
      retry_("interface language", store_.defaults(), [this] { saveIfUnsaved(); }) {}

void LanguageController::saveIfUnsaved() {
    if (!unsaved_) {
        return;
    }
    const bool saved = store_.save(*unsaved_);
    if (saved) {
        unsaved_.reset();
    }
    retry_.recordOutcome(saved);
}

void LanguageController::setCurrent(LanguagePreference language) {
    if (language == current_) {
        return;
    }
    current_ = language;
    emit currentChanged(language);
}

void LanguageController::setLanguage(LanguagePreference language) {
    if (language == current_) {
        return;
    }
    setCurrent(language);
    unsaved_ = language;
    saveIfUnsaved();
    if (onLanguageChanged_) {
        // A copy: the handler may replace itself while it runs.
        const ChangeHandler handler = onLanguageChanged_;
        handler(language);
    }
}

LanguagePreference LanguageController::systemFallback(const QStringList& preferredLanguages) {
    const QString first = preferredLanguages.isEmpty() ? QString() : withScript(preferredLanguages.first());
    return LanguagePreference::fromPreferredLanguage(first.toStdString());
}

QStringList LanguageController::systemPreferredLanguages() {
    return QLocale::system().uiLanguages();
}

QString LanguageController::withScript(const QString& languageTag) {
    // POSIX locale names carry a codeset and a modifier ("zh_TW.UTF-8@radical") that are no part of a tag.
    QString tag = languageTag;
    const qsizetype cut = tag.indexOf(QRegularExpression(QStringLiteral("[.@]")));
    if (cut >= 0) {
        tag.truncate(cut);
    }
    tag.replace(QLatin1Char('_'), QLatin1Char('-'));
    const QStringList parts = tag.split(QLatin1Char('-'));
    if (parts.size() >= 2 && parts[1].size() == 4) {
        return tag; // names its script already
    }
    const QLocale locale(tag);
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage ||
        QLocale::languageToCode(locale.language()) != parts.first()) {
        return tag; // unknown to the locale data: the rule sees it as given
    }
    return QStringLiteral("%1-%2-%3")
        .arg(QLocale::languageToCode(locale.language()), QLocale::scriptToCode(locale.script()),
             QLocale::territoryToCode(locale.territory()));
}

} // namespace kivo
