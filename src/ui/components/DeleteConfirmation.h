#pragma once

#include "domain/LanguagePreference.h"

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

namespace kivo {

class Localizer;

// The alert before deleting something: Cancel (does nothing but close) before the destructive Delete,
// which runs the action once. Window-modal on `parent`'s window; returns the box, already open.
class DeleteConfirmation {
public:
    static QMessageBox* ask(QWidget* parent, const Localizer& localizer, LanguagePreference language,
                            const QString& title, const QString& message, std::function<void()> onDelete);
};

} // namespace kivo
