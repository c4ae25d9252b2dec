#pragma once

#include <QDialog>

class QPushButton;
class QStackedLayout;

namespace kivo {

class CountdownConfirmPanel;
class DestructiveWarningPanel;
class EraseAllDataFlow;
struct UiContext;

// Erasing all data, guarded twice: the warning (Cancel or Continue), then ten seconds before Erase.
class EraseAllDataSheet : public QDialog {
    Q_OBJECT
public:
    EraseAllDataSheet(EraseAllDataFlow& flow, const UiContext& ui, QWidget* parent);

    DestructiveWarningPanel* warning() const { return warning_; }
    QPushButton* eraseButton() const;
    QPushButton* countdownCancelButton() const;

private:
    void refresh();

    EraseAllDataFlow& flow_;
    QStackedLayout* stages_;
    DestructiveWarningPanel* warning_;
    CountdownConfirmPanel* countdown_;
};

} // namespace kivo
