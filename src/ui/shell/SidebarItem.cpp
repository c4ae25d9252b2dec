#include "ui/shell/SidebarItem.h"

#include "app/language/LocalizedStrings.h"

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

const char* sidebarIconName(SidebarItem item) {
    switch (item) {
    case SidebarItem::rules:
        return "view-list-details";
    case SidebarItem::display:
        return "display-brightness";
    case SidebarItem::more:
        return "open-menu";
    }
    return "view-list-details";
}

} // namespace kivo
