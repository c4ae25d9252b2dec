#pragma once

#include <QDialog>

namespace kivo {

class DestructiveWarningPanel;
class UninstallFlow;
struct UiContext;

// The one warning before uninstalling, with the delegate's message: where the program belongs to a
// system package, which Kivo cannot remove, it says so before the user confirms.
class UninstallSheet : public QDialog {
    Q_OBJECT
public:
    UninstallSheet(UninstallFlow& flow, const UiContext& ui, const QString& message, QWidget* parent);

    DestructiveWarningPanel* warning() const { return warning_; }

private:
    DestructiveWarningPanel* warning_;
};

} // namespace kivo
