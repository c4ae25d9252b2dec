#include "ui/components/AutomationPermissionBanner.h"

#include "app/language/LocalizedStrings.h"
#include "ui/screens/ScreenContext.h"

#include <QPushButton>

namespace kivo {

AutomationPermissionBanner::AutomationPermissionBanner(const ScreenContext& context,
                                                       const std::vector<std::string>& deniedBrowserNames,
                                                       QWidget* parent)
    : NoticeBanner(context.text(Strings::Permissions::Automation::title()),
                   context.text(Strings::Permissions::Automation::message(joinedNames(deniedBrowserNames))),
                   parent),
      open_(new QPushButton(context.text(Strings::Permissions::Automation::openSettings()))) {
    setObjectName(QStringLiteral("automationBanner"));
    addControl(open_);
    open_->setAutoDefault(false);
    connect(open_, &QPushButton::clicked, this, [open = context.openAutomationSettings] {
        if (open)
            open();
    });
}

} // namespace kivo
