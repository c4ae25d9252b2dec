#pragma once

#include "app/rules/PatternEditPresenter.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kivo {

class RedirectSection;
struct ScreenContext;

// Adds one pattern rule to a group, or edits or deletes one, showing while the user types the form in
// which the pattern will be stored. Escape cancels, Return saves.
class PatternEditSheet : public QDialog {
    Q_OBJECT
public:
    PatternEditSheet(const ScreenContext& context, PatternEditPresenter presenter, QWidget* parent = nullptr);
    ~PatternEditSheet() override;
    const PatternEditPresenter& presenter() const { return presenter_; }
    QLineEdit* patternField() const { return pattern_; }
    QLabel* statusLabel() const { return status_; }
    QLabel* counterLabel() const { return counter_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* deleteButton() const { return delete_; }
    QCheckBox* overrideToggle() const { return override_; }
    QLineEdit* redirectField() const;
    // What one keystroke costs: the working state, preview, counter and validation message refreshed.
    void typePattern(const QString& text);

private:
    void refresh();
    void save();
    const ScreenContext& context_;
    PatternEditPresenter presenter_;
    QLineEdit* pattern_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* counter_ = nullptr;
    std::unique_ptr<RedirectSection> redirect_;
    QCheckBox* override_ = nullptr;
    QLabel* useGroup_ = nullptr;
    QCheckBox* append_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace kivo
