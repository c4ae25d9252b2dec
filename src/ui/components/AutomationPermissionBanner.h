#pragma once

#include "ui/components/NoticeBanner.h"

#include <string>
#include <vector>

class QPushButton;

namespace kivo {

struct ScreenContext;

// The notice above the rule lists while scripted browsers are denied: names them and offers to open the
// settings where the user can allow Kivo (the context's openAutomationSettings).
class AutomationPermissionBanner : public NoticeBanner {
    Q_OBJECT
public:
    AutomationPermissionBanner(const ScreenContext& context,
                               const std::vector<std::string>& deniedBrowserNames, QWidget* parent = nullptr);

    QPushButton* openSettingsButton() const { return open_; }

private:
    QPushButton* open_;
};

} // namespace kivo
