#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kivo {

// A URI reference (absolute or relative) that follows the RFC 3986 grammar exactly. It keeps its text as
// written: equality is by text, and writing a Url then reading it back gives an equal one.
class Url {
public:
    // The empty reference (a valid relative reference).
    Url() = default;

    // Refuses any text outside the grammar: spaces, control characters, non-ASCII bytes, a malformed
    // percent escape, a bad scheme, port or IP literal.
    static std::optional<Url> parse(std::string_view text);

    const std::string& text() const { return text_; }

    // As written (may be upper-case); empty for a relative reference.
    const std::string& scheme() const { return scheme_; }
    bool hasScheme(std::string_view lowerCaseScheme) const;
    bool hasAuthority() const { return hasAuthority_; }
    const std::optional<std::string>& userInfo() const { return userInfo_; }
    // The host as written; an IP literal keeps its brackets. Empty without an authority.
    const std::string& host() const { return host_; }
    // The port digits when written and in 0...65535; absent otherwise.
    std::optional<int> port() const;
    const std::optional<std::string>& portText() const { return port_; }
    const std::string& path() const { return path_; }
    const std::optional<std::string>& query() const { return query_; }
    const std::optional<std::string>& fragment() const { return fragment_; }

    friend bool operator==(const Url& a, const Url& b) { return a.text_ == b.text_; }

private:
    std::string text_;
    std::string scheme_;
    bool hasAuthority_ = false;
    std::optional<std::string> userInfo_;
    std::string host_;
    std::optional<std::string> port_;
    std::string path_;
    std::optional<std::string> query_;
    std::optional<std::string> fragment_;
};

} // namespace kivo
