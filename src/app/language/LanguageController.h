#pragma once

#include "app/language/LanguagePreferenceStore.h"
#include "app/shell/SaveRetry.h"
#include "domain/LanguagePreference.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kivo {

class TimerFactory;

// The interface language. The system's languages only decide it until the user picks one; the pick is
// stored and announced to one listener (the application, which renames seeds and re-titles the menu).
class LanguageController : public QObject {
    Q_OBJECT

public:
    using ChangeHandler = std::function<void(LanguagePreference)>;

    // Loads the stored language; without a usable one, takes the fallback from the first of
    // `preferredLanguages` (the user's UI languages in order). Writes nothing.
    explicit LanguageController(LanguagePreferenceStore store,
                                const QStringList& preferredLanguages = systemPreferredLanguages(),
                                QObject* parent = nullptr);

    LanguagePreference current() const { return current_; }
    // A plain assignment (a picker's binding): tells observers of a real change, neither saves nor
    // calls the change handler.
    void setCurrent(LanguagePreference language);

    // The user's choice: when it differs from the current language, it becomes current (observers are
    // told), is stored, and then the change handler runs with it, before this returns.
    void setLanguage(LanguagePreference language);

    const ChangeHandler& onLanguageChanged() const { return onLanguageChanged_; }
    void setOnLanguageChanged(ChangeHandler handler) { onLanguageChanged_ = std::move(handler); }

    const LanguagePreferenceStore& store() const { return store_; }

    // A choice whose save failed stays unsaved (see SaveRetry) and is saved again at the next choice,
    // every SaveRetry::kInterval on these timers, and at quit.
    void setRetryTimers(TimerFactory& timers) { retry_.setTimerFactory(timers); }
    bool hasUnsavedChanges() const { return retry_.hasUnsavedChanges(); }
    void saveIfUnsaved();

    // The language for a list of preferred UI languages: only the first entry counts ("" when empty),
    // written as language-script-territory first so that a bare "zh_TW" or "zh-HK" reads as Traditional.
    static LanguagePreference systemFallback(const QStringList& preferredLanguages);
    static QStringList systemPreferredLanguages();
    // "zh_TW.UTF-8" -> "zh-Hant-TW", "ja_JP" -> "ja-Jpan-JP". An entry that already names a script, or
    // that no locale data knows, is kept as given (with "-" separators).
    static QString withScript(const QString& languageTag);

signals:
    void currentChanged(kivo::LanguagePreference language);

private:
    LanguagePreferenceStore store_;
    LanguagePreference current_;
    ChangeHandler onLanguageChanged_;
    // The user's last choice while its save has not landed.
    std::optional<LanguagePreference> unsaved_;
    SaveRetry retry_;
};

} // namespace kivo
