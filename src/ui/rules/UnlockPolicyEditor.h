#pragma once

#include "app/rules/UnlockPolicyEditorModel.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace kivo {

struct ScreenContext;

// The unlock section of the group sheet. It hands each whole policy the user makes to its owner and saves
// nothing.
class UnlockPolicyEditor : public QWidget {
    Q_OBJECT
public:
    UnlockPolicyEditor(const ScreenContext& context, const UnlockPolicy& policy, QWidget* parent = nullptr);
    const UnlockPolicyEditorModel& model() const { return model_; }
    QPushButton* typeButton(UnlockPolicyEditorModel::PolicyType type) const;
    QComboBox* waitPicker() const { return wait_; }
    QComboBox* resetPicker() const { return reset_; }

signals:
    void policyEdited(const kivo::UnlockPolicy& policy);

private:
    void edited(const std::optional<UnlockPolicy>& policy);
    UnlockPolicyEditorModel model_;
    QPushButton* types_[3] = {};
    QWidget* waitRow_ = nullptr;
    QWidget* backoffPart_ = nullptr;
    QComboBox* wait_ = nullptr;
    QComboBox* reset_ = nullptr;
};

} // namespace kivo
