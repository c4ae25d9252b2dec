#include "browser-monitor/BrowserScripts.h"

#include "browser-monitor/SupportedBrowsers.h"

#include <initializer_list>
#include <utility>

namespace kivo {
namespace BrowserScripts {
namespace {

std::string joinLines(std::initializer_list<std::pair<int, std::string>> lines) {
    std::string out;
    bool first = true;
    for (const auto& [indent, text] : lines) {
        if (!first) {
            out += '\n';
        }
        first = false;
        out.append(static_cast<std::size_t>(indent), ' ');
        out += text;
    }
    return out;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

std::string tabExpression(BrowserEngine engine) {
    return engine == BrowserEngine::chromium ? "URL of active tab of w" : "URL of current tab of w";
}

bool isAcceptableBundleId(const std::string& bundleId) {
    if (SupportedBrowsers::isSupported(bundleId)) {
        return true;
    }
    if (bundleId.empty()) {
        return false;
    }
    for (const char c : bundleId) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '.' || c == '-';
        if (!ok) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> makeTabURLsScriptSource(const std::string& bundleId, BrowserEngine engine) {
    if (!isAcceptableBundleId(bundleId)) {
        return std::nullopt;
    }
    const std::string e = tabExpression(engine);
    return joinLines({
        {0, "with timeout of 4 seconds"},
        {4, "tell application id " + quoted(bundleId)},
        {8, "set urlList to {}"},
        {8, "if (count of windows) > 0 then"},
        {12, "repeat with w in windows"},
        {16, "try"},
        {20, "set tabURL to " + e},
        {20, "if tabURL is not missing value then"},
        {24, "set end of urlList to tabURL"},
        {20, "end if"},
        {16, "end try"},
        {12, "end repeat"},
        {8, "end if"},
        {8, "set AppleScript's text item delimiters to \"\\n\""},
        {8, "return urlList as text"},
        {4, "end tell"},
        {0, "end timeout"},
    });
}

std::optional<std::string> makeRedirectScriptSource(const std::string& bundleId, BrowserEngine engine) {
    if (!isAcceptableBundleId(bundleId)) {
        return std::nullopt;
    }
    const std::string e = tabExpression(engine);
    return joinLines({
        {0, "on redirectTab(oldUrl, newUrl)"},
        {4, "with timeout of 4 seconds"},
        {8, "tell application id " + quoted(bundleId)},
        {12, "if (count of windows) > 0 then"},
        {16, "repeat with w in windows"},
        {20, "try"},
        {24, "if " + e + " is oldUrl then"},
        {28, "set " + e + " to newUrl"},
        {24, "end if"},
        {20, "end try"},
        {16, "end repeat"},
        {12, "end if"},
        {8, "end tell"},
        {4, "end timeout"},
        {0, "end redirectTab"},
    });
}

AppleEventDescriptor makeRedirectEvent(const std::string& oldUrl, const std::string& newUrl) {
    AppleEventDescriptor event;
    event.eventClass = "ascr"; // the script-language suite
    event.eventId = "psbr";    // call a subroutine
    event.returnId = -1;
    event.transactionId = 0;
    event.subroutineName = kRedirectHandlerName;
    event.directObject.push_back(oldUrl);
    event.directObject.push_back(newUrl);
    return event;
}

} // namespace BrowserScripts
} // namespace kivo
