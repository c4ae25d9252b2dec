#pragma once

#include "domain/LanguagePreference.h"

#include <QString>
#include <QTranslator>

namespace kivo {

// The texts Qt draws itself (a field's context menu, a spin box's steps, standard buttons) in the
// interface language: Qt's own catalog for it, installed on the application in place of the last one.
class QtTranslations {
public:
    // `directory` holds the "qtbase_<locale>.qm" files; by default Qt's translations folder.
    explicit QtTranslations(QString directory = defaultDirectory());
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Returns whether Qt's catalog for `language` was found; without one Qt's texts stay English.
    bool use(LanguagePreference language);

    static QString defaultDirectory();

private:
    QString directory_;
    QTranslator translator_;
    bool installed_ = false;
};

} // namespace kivo
