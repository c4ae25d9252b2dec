#include "ui/rules/SwitchRow.h"

#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>

namespace kivo {

SwitchRow::SwitchRow(std::function<void()> open, std::function<bool(bool asked)> apply, QWidget* parent)
    : ClickableRow(std::move(open), parent) {
    auto* line = new QHBoxLayout(this);
    line->setContentsMargins(6, 4, 6, 4);
    toggle_ = ScreenWidgets::makeSwitch(this);
    line->addWidget(toggle_);
    name_ = ScreenWidgets::plainLabel(QString(), this);
    name_->setTextInteractionFlags(Qt::NoTextInteraction);
    line->addWidget(name_, 1);
    caption_ = ScreenWidgets::captionLabel(QString(), this);
    line->addWidget(caption_);
    connect(toggle_, &QCheckBox::clicked, this,
            [this, apply = std::move(apply)](bool on) { toggle_->setChecked(apply(on)); });
}

void SwitchRow::present(const QString& name, bool on, const QString& caption) {
    setAccessibleName(name);
    toggle_->setAccessibleName(name);
    toggle_->setChecked(on);
    name_->setText(name);
    caption_->setText(caption);
    caption_->setVisible(!caption.isEmpty());
}

} // namespace kivo
