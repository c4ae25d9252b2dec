#include "ui/rules/ClickableRow.h"

#include <QMouseEvent>
#include <QTimer>

namespace kivo {

ClickableRow::ClickableRow(std::function<void()> onClick, QWidget* parent)
    : QFrame(parent), onClick_(std::move(onClick)) {
    setCursor(Qt::PointingHandCursor);
}

void ClickableRow::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick_) {
        onClick_();
    }
}

} // namespace kivo
