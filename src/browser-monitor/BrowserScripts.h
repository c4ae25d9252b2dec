#pragma once

#include "browser-monitor/AppleEventDescriptor.h"
#include "browser-monitor/BrowserEngine.h"

#include <optional>
#include <string>

namespace kivo {

// The two script sources compiled once per scriptable browser, and the event that calls the redirect
// handler. A bundle identifier is the only text ever placed inside a source: it must be one of the
// supported browsers or consist of letters, digits, "." and "-" only; anything else is refused, so no
// identifier can end the quoted text and add commands of its own.
namespace BrowserScripts {

inline constexpr const char* kRedirectHandlerName = "redirectTab";

// "URL of active tab of w" or "URL of current tab of w".
std::string tabExpression(BrowserEngine engine);

bool isAcceptableBundleId(const std::string& bundleId);

std::optional<std::string> makeTabURLsScriptSource(const std::string& bundleId, BrowserEngine engine);
std::optional<std::string> makeRedirectScriptSource(const std::string& bundleId, BrowserEngine engine);
AppleEventDescriptor makeRedirectEvent(const std::string& oldUrl, const std::string& newUrl);

} // namespace BrowserScripts
} // namespace kivo
