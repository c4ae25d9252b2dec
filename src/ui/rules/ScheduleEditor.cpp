#include "ui/rules/ScheduleEditor.h"

#include "app/language/LocalizedStrings.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/rules/DayOfWeekPicker.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace kivo {
namespace {

QTime timeOf(std::int64_t minute) {
    if (minute < 0 || minute > 1439) {
        minute = 0;
    }
    return QTime(static_cast<int>(minute / 60), static_cast<int>(minute % 60));
}

std::int64_t minuteOf(const QTime& time) {
    return time.hour() * 60 + time.minute();
}

} // namespace

ScheduleEditor::ScheduleEditor(const ScreenContext& context, const BlockSchedule& schedule, QWidget* parent)
    : QWidget(parent), context_(context), model_(schedule) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(ScreenWidgets::captionLabel(context.text(Strings::Schedule::section())));

    namespace S = Strings::Schedule;
    auto* modes = new SegmentedPicker(context.text(S::mode()),
                                      {context.text(S::always()), context.text(S::recurring())},
                                      model_.isAlways() ? 0 : 1, this);
    always_ = modes->segment(0);
    recurring_ = modes->segment(1);
    column->addWidget(modes);

    recurringPart_ = new QWidget(this);
    auto* recurringColumn = new QVBoxLayout(recurringPart_);
    recurringColumn->setContentsMargins(0, 0, 0, 0);
    days_ = new DayOfWeekPicker(context, model_.selectedDays(), recurringPart_);
    recurringColumn->addWidget(days_);
    windows_ = new QWidget(recurringPart_);
    new QVBoxLayout(windows_);
    windows_->layout()->setContentsMargins(0, 0, 0, 0);
    windows_->layout()->setSpacing(8);
    recurringColumn->addWidget(windows_);
    column->addWidget(recurringPart_);
    recurringPart_->setVisible(!model_.isAlways());
    rebuildWindows();

    connect(modes, &SegmentedPicker::segmentClicked, this,
            [this](int index) { edited(model_.setAlways(index == 0)); });
    connect(days_, &DayOfWeekPicker::selectedDaysEdited, this,
            [this](const DaySet& days) { edited(model_.setSelectedDays(days)); });
}

void ScheduleEditor::edited(const std::optional<BlockSchedule>& schedule) {
    if (!schedule) {
        return; // the mode already chosen: nothing to write
    }
    recurringPart_->setVisible(!model_.isAlways());
    emit scheduleEdited(*schedule);
}

void ScheduleEditor::rebuildWindows(std::optional<std::size_t> focusRow) {
    // The button used goes with the old rows; its focus must not wander off to another section.
    const bool keepFocus = focusRow && windows_->isAncestorOf(QApplication::focusWidget());
    // Called from a button of a row it removes: the old rows go on a later turn of the event loop.
    for (QWidget* row : windows_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        row->hide();
        row->deleteLater();
    }
    auto* layout = static_cast<QVBoxLayout*>(windows_->layout());
    const auto& windows = model_.timeWindows();
    QWidget* focusTarget = nullptr;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        auto* row = new QWidget(windows_);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        auto* start = new QTimeEdit(timeOf(windows[i].startMinute), row);
        auto* end = new QTimeEdit(timeOf(windows[i].endMinute), row);
        for (QTimeEdit* edit : {start, end}) {
            edit->setDisplayFormat(QStringLiteral("HH:mm"));
        }
        namespace A = Strings::Schedule::A11y;
        const auto position = static_cast<qint64>(i + 1);
        start->setAccessibleName(context_.text(A::rangeStart(position)));
        end->setAccessibleName(context_.text(A::rangeEnd(position)));
        line->addStretch();
        line->addWidget(start);
        line->addWidget(
            ScreenWidgets::plainLabel(context_.text(Strings::Schedule::timeRangeSeparator()), row));
        line->addWidget(end);
        connect(start, &QTimeEdit::userTimeChanged, this,
                [this, i](const QTime& t) { edited(model_.setWindowStart(i, minuteOf(t))); });
        connect(end, &QTimeEdit::userTimeChanged, this,
                [this, i](const QTime& t) { edited(model_.setWindowEnd(i, minuteOf(t))); });
        if (model_.canRemoveTimeWindow()) {
            auto* remove = new QToolButton(row);
            remove->setText(QStringLiteral("\u2212"));
            remove->setAccessibleName(context_.text(A::deleteRange(position)));
            remove->setAutoRaise(true);
            connect(remove, &QToolButton::clicked, this, [this, i] {
                const BlockSchedule schedule = model_.removeTimeWindow(i);
                rebuildWindows(std::min(i, model_.timeWindows().size() - 1));
                edited(schedule);
            });
            line->addWidget(remove);
        }
        line->addStretch();
        layout->addWidget(row);
        row->show();
        // After a removal the remove button now in that place (or that row's start); after an add the
        // new row's start, unless the add button is still there.
        if (focusRow && *focusRow == i) {
            focusTarget = row->findChild<QToolButton*>();
            if (!focusTarget) {
                focusTarget = start;
            }
        } else if (focusRow && *focusRow >= windows.size() && i + 1 == windows.size()) {
            focusTarget = start;
        }
    }
    if (model_.canAddTimeWindow()) {
        auto* row = new QWidget(windows_);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        auto* add =
            new QPushButton(QStringLiteral("+ ") + context_.text(Strings::Schedule::addTimeWindow()), row);
        add->setFlat(true);
        add->setAutoDefault(false);
        add->setObjectName(QStringLiteral("addTimeWindow"));
        connect(add, &QPushButton::clicked, this, [this] {
            const BlockSchedule schedule = model_.addTimeWindow();
            rebuildWindows(model_.timeWindows().size());
            edited(schedule);
        });
        line->addStretch();
        line->addWidget(add);
        line->addStretch();
        layout->addWidget(row);
        row->show();
        // After an add the add button stays under the keyboard while it is still offered.
        if (focusRow && *focusRow >= windows.size()) {
            focusTarget = add;
        }
    }
    if (keepFocus && focusTarget) {
        focusTarget->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace kivo
