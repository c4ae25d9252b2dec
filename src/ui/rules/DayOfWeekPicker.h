#pragma once

#include "domain/DayOfWeek.h"

#include <QWidget>

#include <map>

class QToolButton;

namespace kivo {

struct ScreenContext;

// Seven round day buttons, Monday first; a tap adds or removes its day but never the last one. Only a
// tap announces a change; setting the days from outside is silent.
class DayOfWeekPicker : public QWidget {
    Q_OBJECT
public:
    DayOfWeekPicker(const ScreenContext& context, DaySet days, QWidget* parent = nullptr);
    const DaySet& selectedDays() const { return days_; }
    void setSelectedDays(DaySet days);
    QToolButton* button(DayOfWeek day) const { return buttons_.at(day); }

signals:
    void selectedDaysEdited(const kivo::DaySet& days);

private:
    void sync();
    DaySet days_;
    std::map<DayOfWeek, QToolButton*> buttons_;
};

} // namespace kivo
