#include "ui/components/NoticeBanner.h"

#include "ui/components/PlainLabel.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QStyle>
#include <QVBoxLayout>

namespace kivo {

namespace {
const QColor kOrange(0xff, 0x95, 0x00);
}

NoticeBanner::NoticeBanner(const QString& title, const QString& message, QWidget* parent)
    : QWidget(parent), row_(new QHBoxLayout(this)), title_(plainLabel(title)), message_(plainLabel(message)) {
    row_->setContentsMargins(12 + 14, 10 + 10, 12 + 14, 4 + 10);
    row_->setSpacing(12);
    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(20, 20));
    row_->addWidget(icon);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    QFont bold = title_->font();
    bold.setWeight(QFont::DemiBold);
    title_->setFont(bold);
    texts->addWidget(title_);
    message_->setWordWrap(true);
    QFont small = message_->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    message_->setFont(small);
    message_->setForegroundRole(QPalette::PlaceholderText);
    texts->addWidget(message_);
    row_->addLayout(texts, 1);
    setAccessibleName(title);
    setAccessibleDescription(message);
}

QString NoticeBanner::joinedNames(const std::vector<std::string>& names) {
    QStringList list;
    for (const auto& name : names)
        list << QString::fromStdString(name);
    return list.join(QChar(0x30FB));
}

void NoticeBanner::setMessage(const QString& message) {
    message_->setText(message);
    setAccessibleDescription(message);
}

void NoticeBanner::addControl(QWidget* control) {
    row_->addWidget(control);
}

void NoticeBanner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(12.5, 10.5, -12.5, -4.5);
    QPainterPath shape;
    shape.addRoundedRect(box, 10, 10);
    QColor fill = kOrange;
    fill.setAlphaF(0.15);
    p.fillPath(shape, fill);
    QColor border = kOrange;
    border.setAlphaF(0.45);
    p.setPen(QPen(border, 1));
    p.drawPath(shape);
}

} // namespace kivo
