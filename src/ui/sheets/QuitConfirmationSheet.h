#pragma once

#include <QDialog>

class QPushButton;

namespace kivo {

class CountdownConfirmPanel;
class QuitConfirmationFlow;
struct UiContext;

// The ten-second countdown before an in-app quit: Cancel, and Quit once the count has reached 0.
class QuitConfirmationSheet : public QDialog {
    Q_OBJECT
public:
    QuitConfirmationSheet(QuitConfirmationFlow& flow, const UiContext& ui, QWidget* parent);

    QPushButton* confirmButton() const;
    QPushButton* cancelButton() const;

private:
    void refresh();

    QuitConfirmationFlow& flow_;
    CountdownConfirmPanel* panel_;
};

} // namespace kivo
