#pragma once

namespace kivo {

// The scripting dialect of a browser's tabs; it selects the tab expression of the browser scripts.
enum class BrowserEngine { safari, chromium };

} // namespace kivo
