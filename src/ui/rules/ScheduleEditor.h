#pragma once

#include "app/rules/ScheduleEditorModel.h"

#include <QWidget>

#include <optional>

class QPushButton;
class QVBoxLayout;

namespace kivo {

struct ScreenContext;
class DayOfWeekPicker;

// The schedule section of the group sheet. It hands each whole schedule the user makes to its owner and
// saves nothing.
class ScheduleEditor : public QWidget {
    Q_OBJECT
public:
    ScheduleEditor(const ScreenContext& context, const BlockSchedule& schedule, QWidget* parent = nullptr);
    const ScheduleEditorModel& model() const { return model_; }
    QPushButton* alwaysButton() const { return always_; }
    QPushButton* recurringButton() const { return recurring_; }
    DayOfWeekPicker* dayPicker() const { return days_; }

signals:
    void scheduleEdited(const kivo::BlockSchedule& schedule);

private:
    void edited(const std::optional<BlockSchedule>& schedule);
    // `focusRow`: the row whose control the user used, to put the keyboard focus back near it.
    void rebuildWindows(std::optional<std::size_t> focusRow = std::nullopt);
    const ScreenContext& context_;
    ScheduleEditorModel model_;
    QPushButton* always_ = nullptr;
    QPushButton* recurring_ = nullptr;
    DayOfWeekPicker* days_ = nullptr;
    QWidget* recurringPart_ = nullptr;
    QWidget* windows_ = nullptr;
};

} // namespace kivo
