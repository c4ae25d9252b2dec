#pragma once

namespace kivo {

// How a browser's tab URLs are reached: by its scripting interface or by its accessibility tree.
enum class BrowserURLAccess { appleScript, accessibility };

} // namespace kivo
