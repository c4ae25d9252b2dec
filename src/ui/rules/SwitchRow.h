#pragma once

#include "ui/rules/ClickableRow.h"

#include <functional>

class QCheckBox;
class QLabel;

namespace kivo {

// A row of a list of switchable things (rule groups, patterns): its switch, its name and an optional
// caption at the end. The row opens the thing; a screen reader hears the row as a button and the switch as
// a check box, both under the thing's name.
class SwitchRow : public ClickableRow {
    Q_OBJECT
public:
    // `apply(asked)` passes the user's click on and answers what the switch shows afterwards.
    SwitchRow(std::function<void()> open, std::function<bool(bool asked)> apply, QWidget* parent = nullptr);
    void present(const QString& name, bool on, const QString& caption = QString());
    QCheckBox* toggle() const { return toggle_; }

private:
    QCheckBox* toggle_ = nullptr;
    QLabel* name_ = nullptr;
    QLabel* caption_ = nullptr;
};

} // namespace kivo
