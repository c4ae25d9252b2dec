#include "ui/rules/DayOfWeekPicker.h"

#include "app/rules/DayOfWeekSelection.h"
#include "ui/screens/ScreenContext.h"

#include <QHBoxLayout>
#include <QToolButton>

#include <algorithm>

namespace kivo {

DayOfWeekPicker::DayOfWeekPicker(const ScreenContext& context, DaySet days, QWidget* parent)
    : QWidget(parent), days_(std::move(days)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addStretch();
    // One circle size for all: it holds the widest short name (two characters in Chinese) with room.
    int side = 30;
    for (const DayOfWeek day : DayOfWeekSelection::dayOrder()) {
        const QString name = context.text(DayOfWeekSelection::shortName(day));
        side = std::max(side, fontMetrics().horizontalAdvance(name) + fontMetrics().height() / 2);
    }
    const QString look =
        QStringLiteral("QToolButton { border-radius: %1px; background: rgba(128,128,128,50); }"
                       "QToolButton:checked { background: palette(highlight); "
                       "color: palette(highlighted-text); }")
            .arg(side / 2);
    for (const DayOfWeek day : DayOfWeekSelection::dayOrder()) {
        auto* button = new QToolButton(this);
        button->setCheckable(true); // before it is named to assistive tools
        button->setText(context.text(DayOfWeekSelection::shortName(day)));
        button->setAccessibleName(context.text(DayOfWeekSelection::fullName(day)));
        button->setToolTip(button->accessibleName());
        button->setFixedSize(side, side);
        button->setStyleSheet(look);
        connect(button, &QToolButton::clicked, this, [this, day] {
            if (const auto next = DayOfWeekSelection::toggled(days_, day)) {
                days_ = *next;
                sync();
                emit selectedDaysEdited(days_);
            } else {
                sync(); // the last day stays chosen
            }
        });
        buttons_[day] = button;
        row->addWidget(button);
    }
    row->addStretch();
    sync();
}

void DayOfWeekPicker::setSelectedDays(DaySet days) {
    days_ = std::move(days);
    sync();
}

void DayOfWeekPicker::sync() {
    for (const auto& [day, button] : buttons_) {
        button->setChecked(days_.count(day) != 0);
    }
}

} // namespace kivo
