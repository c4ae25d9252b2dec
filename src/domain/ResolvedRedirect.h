#pragma once

#include "domain/Url.h"

#include <string>
#include <string_view>

namespace kivo {

// Where a caught tab is sent, and whether the visited URL travels along as the "blocked" parameter.
struct ResolvedRedirect {
    Url url;
    bool appendsQueryParameters = false;

    ResolvedRedirect(Url url, bool appendsQueryParameters)
        : url(std::move(url)), appendsQueryParameters(appendsQueryParameters) {}

    // The text to load in the tab: the target itself, or the target followed by "?blocked=" (or
    // "&blocked=" when the target already holds a "?") and the visited URL percent-encoded. The encoding
    // also escapes "&", "=" and "+", so that the shield page reads the visited URL back whole. A visited
    // text that is not UTF-8 is sent as the empty value.
    std::string finalURLString(std::string_view visitedURL) const;

    bool operator==(const ResolvedRedirect& other) const = default;
};

} // namespace kivo
