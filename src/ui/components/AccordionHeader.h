#pragma once

#include <QAbstractButton>

namespace kivo {

// The header row of a section that opens and closes: its title and a chevron that points right while
// closed and down while open. A click anywhere on the row toggles it; the owner shows or hides the
// section from `expandedChanged`.
class AccordionHeader : public QAbstractButton {
    Q_OBJECT
public:
    explicit AccordionHeader(const QString& title, bool expanded = false, QWidget* parent = nullptr);

    bool isExpanded() const { return isChecked(); }
    void setExpanded(bool expanded) { setChecked(expanded); }
    // The chevron's turn in degrees: 0 closed, 90 open.
    qreal chevronAngle() const { return isChecked() ? 90.0 : 0.0; }

    QSize sizeHint() const override;

signals:
    void expandedChanged(bool expanded);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kivo
