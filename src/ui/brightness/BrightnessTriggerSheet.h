#pragma once

#include "app/brightness/BrightnessTriggerEditPresenter.h"

#include <QDialog>

#include <map>
#include <memory>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimeEdit;
class QVBoxLayout;

namespace kivo {

struct ScreenContext;
class DayOfWeekPicker;

// Adds a brightness trigger or edits one. Moving a slider previews the levels on the displays; the
// preview ends however the sheet goes away (its buttons, Escape, the close box, the window hidden or the
// content rebuilt, the program ending), through finished() and the destructor alike.
class BrightnessTriggerSheet : public QDialog {
    Q_OBJECT
public:
    BrightnessTriggerSheet(const ScreenContext& context, std::optional<BrightnessTrigger> trigger,
                           QWidget* parent = nullptr);
    ~BrightnessTriggerSheet() override;
    const BrightnessTriggerEditPresenter& presenter() const { return *presenter_; }
    QLineEdit* nameField() const { return name_; }
    QTimeEdit* timeField() const { return time_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* byDayButton() const { return byDay_; }
    DayOfWeekPicker* dayPicker() const { return days_; }
    // The sliders of the displays called `name`, in display order.
    std::vector<QSlider*> sliders(const std::string& name) const;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void rebuildDisplays();
    void refresh();
    const ScreenContext& context_;
    std::unique_ptr<BrightnessTriggerEditPresenter> presenter_;
    QLineEdit* name_ = nullptr;
    QTimeEdit* time_ = nullptr;
    QPushButton* daily_ = nullptr;
    QPushButton* byDay_ = nullptr;
    DayOfWeekPicker* days_ = nullptr;
    QWidget* displays_ = nullptr;
    std::multimap<std::string, QSlider*> sliders_;
    QPushButton* save_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace kivo
