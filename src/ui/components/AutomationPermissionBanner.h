#pragma once

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace kivo {

struct ScreenContext;

// The orange notice above the rule lists while scripted browsers are denied: names them and offers to
// open the settings where the user can allow Kivo (the context's openAutomationSettings).
class AutomationPermissionBanner : public QWidget {
    Q_OBJECT
public:
    AutomationPermissionBanner(const ScreenContext& context,
                               const std::vector<std::string>& deniedBrowserNames, QWidget* parent = nullptr);

    // The names as the message shows them: joined by the katakana middle dot, nothing else between.
    static QString joinedNames(const std::vector<std::string>& names);

    QLabel* title() const { return title_; }
    QLabel* message() const { return message_; }
    QPushButton* openSettingsButton() const { return open_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* title_;
    QLabel* message_;
    QPushButton* open_;
};

} // namespace kivo
