#pragma once

#include <QDialog>

class QPushButton;
class QStackedLayout;

namespace kivo {

class CountdownRing;
class DestructiveWarningPanel;
class EraseAllDataFlow;
struct UiContext;

// Erasing all data, guarded twice: the warning (Cancel or Continue), then ten seconds before Erase.
class EraseAllDataSheet : public QDialog {
    Q_OBJECT
public:
    EraseAllDataSheet(EraseAllDataFlow& flow, const UiContext& ui, QWidget* parent);

    DestructiveWarningPanel* warning() const { return warning_; }
    QPushButton* eraseButton() const { return erase_; }
    QPushButton* countdownCancelButton() const { return cancel_; }

private:
    void refresh();

    EraseAllDataFlow& flow_;
    const UiContext& ui_;
    QStackedLayout* stages_;
    DestructiveWarningPanel* warning_;
    QWidget* countdownPage_;
    CountdownRing* ring_;
    QPushButton* cancel_;
    QPushButton* erase_;
};

} // namespace kivo
