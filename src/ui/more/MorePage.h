#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace kivo {

struct ScreenContext;

// Everything that is not about rules or displays: updates, starting at login, the interface language,
// the feedback and privacy links, and the buttons that quit, erase all data and uninstall (each starts
// its confirmation flow; the window shows the flow's sheet).
class MorePage : public QWidget {
    Q_OBJECT
public:
    explicit MorePage(const ScreenContext& context, QWidget* parent = nullptr);
    QPushButton* updatesButton() const { return updates_; }
    QCheckBox* loginItemToggle() const { return loginItem_; }
    QComboBox* languagePicker() const { return language_; }
    // None when the build has no page for the row.
    QPushButton* feedbackButton() const { return feedback_; }
    QPushButton* privacyButton() const { return privacy_; }
    QPushButton* stopButton() const { return stop_; }
    QPushButton* eraseButton() const { return erase_; }
    QPushButton* uninstallButton() const { return uninstall_; }

private:
    void confirmLink(bool feedback);
    const ScreenContext& context_;
    QPushButton* updates_ = nullptr;
    QCheckBox* loginItem_ = nullptr;
    QComboBox* language_ = nullptr;
    QPushButton* feedback_ = nullptr;
    QPushButton* privacy_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* erase_ = nullptr;
    QPushButton* uninstall_ = nullptr;
};

} // namespace kivo
