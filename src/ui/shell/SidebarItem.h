#pragma once

#include "app/language/LocalizedString.h"

#include <QIcon>

#include <array>

namespace kivo {

// The three sections of the main window, in sidebar order.
enum class SidebarItem { rules, display, more };

inline constexpr std::array<SidebarItem, 3> kSidebarItems{SidebarItem::rules, SidebarItem::display,
                                                          SidebarItem::more};

const LocalizedString& sidebarTitle(SidebarItem item);
// The desktop theme's icon close to the section's meaning (a freedesktop name), or, where the theme has
// none (a desktop without an icon theme), the symbol Kivo ships for it.
QIcon sidebarIcon(SidebarItem item);

} // namespace kivo
