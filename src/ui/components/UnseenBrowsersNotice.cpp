#include "ui/components/UnseenBrowsersNotice.h"

#include "app/language/LocalizedStrings.h"
#include "browser-monitor/BrowserMonitor.h"
#include "ui/screens/ScreenContext.h"

namespace kivo {

UnseenBrowsersNotice::UnseenBrowsersNotice(const ScreenContext& context, QWidget* parent)
    : NoticeBanner(context.text(Strings::Permissions::Wayland::title()), QString(), parent),
      context_(context) {
    setObjectName(QStringLiteral("unseenBrowsersNotice"));
    if (context.monitor != nullptr) {
        connect(context.monitor, &BrowserMonitor::unseenBrowsersChanged, this,
                &UnseenBrowsersNotice::refresh);
    }
    refresh();
}

void UnseenBrowsersNotice::refresh() {
    const auto names =
        context_.unseenBrowserNames ? context_.unseenBrowserNames() : std::vector<std::string>{};
    setMessage(context_.text(Strings::Permissions::Wayland::message(joinedNames(names))));
    setVisible(!names.empty());
}

} // namespace kivo
