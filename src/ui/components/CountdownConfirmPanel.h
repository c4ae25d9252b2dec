#pragma once

#include "domain/ShieldCountdownState.h"

#include <QColor>
#include <QWidget>

class QPushButton;

namespace kivo {

class CountdownRing;
struct UiContext;

// The last guard before a destructive step: a countdown ring over Cancel and the confirm button, which
// is enabled only once the count has reached 0.
class CountdownConfirmPanel : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of both buttons.
    CountdownConfirmPanel(const UiContext& ui, QColor ringTint, QPushButton* cancel, QPushButton* confirm,
                          QWidget* parent = nullptr);

    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* confirmButton() const { return confirm_; }

    void showCountdown(const ShieldCountdownState& state);
    // Nothing counting: confirming stays impossible.
    void showIdle();

private:
    const UiContext& ui_;
    CountdownRing* ring_;
    QPushButton* cancel_;
    QPushButton* confirm_;
};

} // namespace kivo
