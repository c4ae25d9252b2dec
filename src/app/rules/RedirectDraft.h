#pragma once

#include "domain/Url.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kivo {

// The redirect target a rule sheet is editing: whether it is used, the typed URL (cut to its limit) and
// whether the blocked page's query is carried on. A save that finds the URL invalid opens the section
// and says why under the field.
class RedirectDraft {
public:
    static constexpr std::size_t urlLimit = 200;

    RedirectDraft(const std::optional<Url>& url, bool used, bool appendsQueryParameters);

    bool isUsed() const { return used_; }
    void setUsed(bool value);
    const std::string& urlString() const { return urlString_; }
    void setURLString(std::string_view text);
    std::size_t urlLength() const;
    bool appendsQueryParameters() const { return appendsQueryParameters_; }
    void setAppendsQueryParameters(bool value) { appendsQueryParameters_ = value; }
    const std::optional<std::string>& error() const { return error_; }
    bool showSection() const { return showSection_; }
    void setShowSection(bool value) { showSection_ = value; }

    // The target to store: none while unused. False when the URL in use is invalid, with the reason kept
    // and the section opened.
    bool validate(std::optional<Url>& target);

private:
    bool used_;
    std::string urlString_;
    bool appendsQueryParameters_;
    std::optional<std::string> error_;
    bool showSection_;
};

} // namespace kivo
