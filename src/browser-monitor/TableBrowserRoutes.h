#pragma once

#include "browser-monitor/ports/BrowserRoutes.h"

namespace kivo {

// The table's own routes and names, for a desktop that has both routes.
class TableBrowserRoutes final : public BrowserRoutes {
public:
    BrowserURLAccess access(const BrowserDescriptor& row) override { return row.access; }
    std::string displayName(const BrowserDescriptor& row) override { return row.displayName; }
};

} // namespace kivo
