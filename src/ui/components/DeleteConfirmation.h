#pragma once

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

namespace kivo {

struct UiContext;

// The alert before deleting something: Cancel (does nothing but close) before the destructive Delete,
// which runs the action once. Window-modal on `parent`'s window; returns the box, already open.
class DeleteConfirmation {
public:
    static QMessageBox* ask(QWidget* parent, const UiContext& ui, const QString& title,
                            const QString& message, std::function<void()> onDelete);
};

} // namespace kivo
