#pragma once

#include "app/rules/GroupSettingsPresenter.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kivo {

struct ScreenContext;
class RedirectSection;
class ScheduleEditor;
class UnlockPolicyEditor;

// Adds a rule group or edits one: name, schedule, unlock policy and redirect defaults. Escape cancels,
// Return saves; nothing is written before the user saves or confirms a delete.
class GroupSettingsSheet : public QDialog {
    Q_OBJECT
public:
    GroupSettingsSheet(const ScreenContext& context, std::optional<BlockRuleGroup> group,
                       QWidget* parent = nullptr);
    ~GroupSettingsSheet() override;
    const GroupSettingsPresenter& presenter() const { return presenter_; }
    QLineEdit* nameField() const { return name_; }
    QLineEdit* redirectField() const;
    QPushButton* saveButton() const { return save_; }
    QPushButton* deleteButton() const { return delete_; }
    QCheckBox* customRedirectToggle() const { return custom_; }
    ScheduleEditor* scheduleEditor() const { return schedule_; }
    UnlockPolicyEditor* unlockEditor() const { return unlock_; }

private:
    void refresh();
    void save();
    const ScreenContext& context_;
    GroupSettingsPresenter presenter_;
    QLineEdit* name_ = nullptr;
    QLabel* nameError_ = nullptr;
    ScheduleEditor* schedule_ = nullptr;
    UnlockPolicyEditor* unlock_ = nullptr;
    std::unique_ptr<RedirectSection> redirect_;
    QCheckBox* append_ = nullptr;
    QCheckBox* custom_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace kivo
