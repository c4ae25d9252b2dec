#include "ui/components/AutomationPermissionBanner.h"

#include "app/language/LocalizedStrings.h"
#include "ui/components/PlainLabel.h"
#include "ui/screens/ScreenContext.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kivo {

namespace {
const QColor kOrange(0xff, 0x95, 0x00);
}

AutomationPermissionBanner::AutomationPermissionBanner(const ScreenContext& context,
                                                       const std::vector<std::string>& deniedBrowserNames,
                                                       QWidget* parent)
    : QWidget(parent), title_(plainLabel(context.text(Strings::Permissions::Automation::title()))),
      message_(plainLabel(
          context.text(Strings::Permissions::Automation::message(joinedNames(deniedBrowserNames))))),
      open_(new QPushButton(context.text(Strings::Permissions::Automation::openSettings()))) {
    setObjectName(QStringLiteral("automationBanner"));
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(12 + 14, 10 + 10, 12 + 14, 4 + 10);
    outer->setSpacing(12);
    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(20, 20));
    outer->addWidget(icon);
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
    outer->addLayout(texts, 1);
    outer->addWidget(open_);
    open_->setAutoDefault(false);
    connect(open_, &QPushButton::clicked, this, [open = context.openAutomationSettings] {
        if (open)
            open();
    });
}

QString AutomationPermissionBanner::joinedNames(const std::vector<std::string>& names) {
    QStringList list;
    for (const auto& name : names)
        list << QString::fromStdString(name);
    return list.join(QChar(0x30FB));
}

void AutomationPermissionBanner::paintEvent(QPaintEvent*) {
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
