#include "ui/components/DestructiveWarningPanel.h"

#include "ui/components/PlainLabel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kivo {

DestructiveWarningPanel::DestructiveWarningPanel(Icon icon, const QString& title, const QString& message,
                                                 const QString& cancelText, QPushButton* confirmButton,
                                                 QWidget* parent)
    : QWidget(parent), cancel_(new QPushButton(cancelText, this)), confirm_(confirmButton) {
    auto* column = new QVBoxLayout(this);
    column->setSpacing(16);

    auto* heading = new QHBoxLayout;
    heading->setSpacing(12);
    auto* iconLabel = new QLabel(this);
    const auto standard = icon == Icon::trash ? QStyle::SP_TrashIcon : QStyle::SP_MessageBoxWarning;
    iconLabel->setPixmap(style()->standardIcon(standard).pixmap(28, 28));
    heading->addWidget(iconLabel);
    auto* titleLabel = plainLabel(title, this);
    QFont titleFont = titleLabel->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.35);
    titleFont.setWeight(QFont::DemiBold);
    titleLabel->setFont(titleFont);
    titleLabel->setWordWrap(true);
    heading->addWidget(titleLabel, 1);
    column->addLayout(heading);

    auto* messageLabel = plainLabel(message, this);
    messageLabel->setWordWrap(true);
    column->addWidget(messageLabel);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    confirm_->setParent(this);
    buttons->addWidget(confirm_);
    column->addLayout(buttons);

    connect(cancel_, &QPushButton::clicked, this, &DestructiveWarningPanel::cancelled);
}

} // namespace kivo
