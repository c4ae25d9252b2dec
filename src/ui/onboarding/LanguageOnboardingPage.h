#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QPushButton;

namespace kivo {

class LanguageController;
struct UiContext;

// The first-start page: pick the interface language (stored at once) and continue.
class LanguageOnboardingPage : public QWidget {
    Q_OBJECT
public:
    LanguageOnboardingPage(const UiContext& ui, std::function<void()> onContinue, QWidget* parent = nullptr);

    QComboBox* picker() const { return picker_; }
    QPushButton* continueButton() const { return continue_; }

private:
    QComboBox* picker_;
    QPushButton* continue_;
};

} // namespace kivo
