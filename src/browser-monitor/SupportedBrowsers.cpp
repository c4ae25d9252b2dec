#include "browser-monitor/SupportedBrowsers.h"

namespace kivo {
namespace SupportedBrowsers {

const std::vector<BrowserDescriptor>& all() {
    using E = BrowserEngine;
    using A = BrowserURLAccess;
    // Function-local statics are built once even when several threads ask at the same time.
    static const std::vector<BrowserDescriptor> table{
        {"com.apple.Safari", "Safari", E::safari, A::appleScript},
        {"com.google.Chrome", "Chrome", E::chromium, A::appleScript},
        {"company.thebrowser.Browser", "Arc", E::chromium, A::appleScript},
        {"com.brave.Browser", "Brave", E::chromium, A::appleScript},
        {"com.microsoft.edgemac", "Edge", E::chromium, A::appleScript},
        {"com.operasoftware.Opera", "Opera", E::chromium, A::appleScript},
        {"com.vivaldi.Vivaldi", "Vivaldi", E::chromium, A::appleScript},
        {"com.naver.Whale", "Naver Whale", E::chromium, A::appleScript},
        {"ru.yandex.desktop.yandex-browser", "Yandex", E::chromium, A::appleScript},
        {"com.duckduckgo.macos.browser", "DuckDuckGo", E::safari, A::accessibility},
        {firefoxBundleId, "Firefox", E::safari, A::accessibility},
    };
    return table;
}

const std::unordered_set<std::string>& bundleIds() {
    static const std::unordered_set<std::string> ids = [] {
        std::unordered_set<std::string> set;
        set.reserve(all().size());
        for (const auto& row : all()) {
            set.insert(row.bundleId);
        }
        return set;
    }();
    return ids;
}

bool isSupported(const std::string& bundleId) {
    return bundleIds().count(bundleId) > 0;
}

std::optional<BrowserDescriptor> descriptor(const std::string& bundleId) {
    for (const auto& row : all()) {
        if (row.bundleId == bundleId) {
            return row;
        }
    }
    return std::nullopt;
}

} // namespace SupportedBrowsers

std::optional<BrowserDescriptor> BrowserDescriptor::fromBundleId(const std::string& bundleId) {
    return SupportedBrowsers::descriptor(bundleId);
}

} // namespace kivo
