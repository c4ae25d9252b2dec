#pragma once

#include "domain/ShieldCountdownState.h"

#include <QColor>
#include <QVariantAnimation>
#include <QWidget>

namespace kivo {

struct UiContext;

// A countdown drawn as a ring: a faint full track, an arc from twelve o'clock growing clockwise with the
// elapsed share, and the remaining seconds in the middle. The sheets use it in their tint, the shield in
// white. A screen reader reads it as a text, named by `setAccessibleTexts`.
class CountdownRing : public QWidget {
    Q_OBJECT
public:
    CountdownRing(QColor tint, int size, QWidget* parent = nullptr);

    // Animates the arc to the new progress over a second, as the ticks do.
    void setState(const ShieldCountdownState& state);
    const ShieldCountdownState& state() const { return state_; }
    double shownProgress() const { return shownProgress_; }
    // Labels read by assistive technology as one element.
    void setAccessibleTexts(const QString& label, const QString& value);

    QSize sizeHint() const override { return {size_, size_}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor tint_;
    int size_;
    ShieldCountdownState state_{0, 0};
    double shownProgress_ = 0;
    QVariantAnimation animation_;
};

} // namespace kivo
