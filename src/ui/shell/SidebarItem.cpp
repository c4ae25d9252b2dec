#include "ui/shell/SidebarItem.h"

#include "app/language/LocalizedStrings.h"
#include "ui/components/SymbolIcon.h"

namespace kivo {

const LocalizedString& sidebarTitle(SidebarItem item) {
    switch (item) {
    case SidebarItem::rules:
        return Strings::Sidebar::rules();
    case SidebarItem::display:
        return Strings::Sidebar::display();
    case SidebarItem::more:
        return Strings::Sidebar::more();
    }
    return Strings::Sidebar::rules();
}

QIcon sidebarIcon(SidebarItem item) {
    const auto icon = [](const char* themeName, const char* symbol) {
        return QIcon::fromTheme(QString::fromLatin1(themeName),
                                symbolIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(symbol))));
    };
    switch (item) {
    case SidebarItem::rules:
        break;
    case SidebarItem::display:
        return icon("display-brightness", "sidebar-display");
    case SidebarItem::more:
        return icon("open-menu", "sidebar-more");
    }
    return icon("view-list-details", "sidebar-rules");
}

} // namespace kivo
