#pragma once

#include <QDialog>

class QPushButton;

namespace kivo {

class CountdownRing;
class QuitConfirmationFlow;
struct UiContext;

// The ten-second countdown before an in-app quit: Cancel, and Quit once the count has reached 0.
class QuitConfirmationSheet : public QDialog {
    Q_OBJECT
public:
    QuitConfirmationSheet(QuitConfirmationFlow& flow, const UiContext& ui, QWidget* parent);

    QPushButton* confirmButton() const { return confirm_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void refresh();

    QuitConfirmationFlow& flow_;
    const UiContext& ui_;
    CountdownRing* ring_;
    QPushButton* cancel_;
    QPushButton* confirm_;
};

} // namespace kivo
