#pragma once

#include "browser-monitor/BrowserDescriptor.h"

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace kivo {

// The fixed table of browsers that Kivo watches, in the order every pass walks them.
namespace SupportedBrowsers {

inline constexpr const char* firefoxBundleId = "org.mozilla.firefox";

const std::vector<BrowserDescriptor>& all();
const std::unordered_set<std::string>& bundleIds();
bool isSupported(const std::string& bundleId);
std::optional<BrowserDescriptor> descriptor(const std::string& bundleId);

} // namespace SupportedBrowsers
} // namespace kivo
