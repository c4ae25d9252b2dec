#include "ui/rules/ClickableRow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace kivo {

ClickableRow::ClickableRow(std::function<void()> onClick, QWidget* parent)
    : QFrame(parent), onClick_(std::move(onClick)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ClickableRow::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick_) {
        onClick_();
    }
}

void ClickableRow::keyPressEvent(QKeyEvent* event) {
    const bool press =
        event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (press && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !event->isAutoRepeat() &&
        onClick_) {
        event->accept();
        onClick_();
        return;
    }
    QFrame::keyPressEvent(event);
}

void ClickableRow::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (hasFocus()) {
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

} // namespace kivo
