#pragma once

#include <QDialog>

namespace kivo {

class DestructiveWarningPanel;
class UninstallFlow;
struct UiContext;

// The one warning before uninstalling. Where the program belongs to a system package, which Kivo cannot
// remove, the warning says so before the user confirms.
class UninstallSheet : public QDialog {
    Q_OBJECT
public:
    UninstallSheet(UninstallFlow& flow, const UiContext& ui, const QString& remainder, QWidget* parent);

    DestructiveWarningPanel* warning() const { return warning_; }

private:
    DestructiveWarningPanel* warning_;
};

} // namespace kivo
