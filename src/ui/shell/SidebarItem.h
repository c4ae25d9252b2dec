#pragma once

#include "app/language/LocalizedString.h"

#include <array>

namespace kivo {

// The three sections of the main window, in sidebar order.
enum class SidebarItem { rules, display, more };

inline constexpr std::array<SidebarItem, 3> kSidebarItems{SidebarItem::rules, SidebarItem::display,
                                                          SidebarItem::more};

const LocalizedString& sidebarTitle(SidebarItem item);
// A freedesktop icon name close to the section's meaning.
const char* sidebarIconName(SidebarItem item);

} // namespace kivo
