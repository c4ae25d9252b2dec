#pragma once

#include "browser-monitor/PromptingBrowser.h"

#include <QDialog>

#include <functional>

class QPushButton;

namespace kivo {

struct UiContext;

// Asks for the accessibility permission a browser without scripting needs: why, three steps, and the
// three answers (never for this browser, later, open the settings now; Return opens the settings).
class AccessibilityPermissionSheet : public QDialog {
    Q_OBJECT
public:
    AccessibilityPermissionSheet(const PromptingBrowser& browser, const UiContext& ui,
                                 std::function<void()> onGrant, std::function<void()> onDismiss,
                                 std::function<void()> onSuppress, QWidget* parent);

    QPushButton* grantButton() const { return grant_; }
    QPushButton* laterButton() const { return later_; }
    QPushButton* suppressButton() const { return suppress_; }

private:
    QPushButton* grant_;
    QPushButton* later_;
    QPushButton* suppress_;
};

} // namespace kivo
