#pragma once

#include "app/rules/PatternEditPresenter.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kivo {

struct ScreenContext;

// Adds one pattern rule to a group, or edits or deletes one, showing while the user types the form in
// which the pattern will be stored. Escape cancels, Return saves.
class PatternEditSheet : public QDialog {
    Q_OBJECT
public:
    PatternEditSheet(const ScreenContext& context, PatternEditPresenter presenter, QWidget* parent = nullptr);
    const PatternEditPresenter& presenter() const { return presenter_; }
    QLineEdit* patternField() const { return pattern_; }
    QLabel* statusLabel() const { return status_; }
    QLabel* counterLabel() const { return counter_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* deleteButton() const { return delete_; }
    QCheckBox* overrideToggle() const { return override_; }
    QLineEdit* redirectField() const { return redirect_; }
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
    QToolButton* accordion_ = nullptr;
    QWidget* redirectPart_ = nullptr;
    QCheckBox* override_ = nullptr;
    QWidget* urlPart_ = nullptr;
    QLabel* useGroup_ = nullptr;
    QLineEdit* redirect_ = nullptr;
    QLabel* redirectError_ = nullptr;
    QLabel* redirectCounter_ = nullptr;
    QCheckBox* append_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace kivo
