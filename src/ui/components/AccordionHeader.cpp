#include "ui/components/AccordionHeader.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

namespace kivo {

AccordionHeader::AccordionHeader(const QString& title, bool expanded, QWidget* parent)
    : QAbstractButton(parent) {
    // A checkable button is what assistive technology reads as "selected" while the section is open;
    // checkable before its title names it to assistive tools.
    setCheckable(true);
    setText(title);
    setChecked(expanded);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        update();
        emit expandedChanged(on);
    });
}

QSize AccordionHeader::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(text()) + 40, fm.height() + 12};
}

void AccordionHeader::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect r = rect();
    const int chevronBox = r.height();
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(r.adjusted(4, 0, -chevronBox, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
               text());

    p.translate(r.right() - chevronBox / 2.0, r.center().y() + 0.5);
    p.rotate(chevronAngle());
    QPainterPath chevron;
    chevron.moveTo(-2.5, -5);
    chevron.lineTo(2.5, 0);
    chevron.lineTo(-2.5, 5);
    p.setPen(
        QPen(palette().color(QPalette::PlaceholderText), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(chevron);
}

} // namespace kivo
