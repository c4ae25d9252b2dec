#pragma once

#include <QString>
#include <QtGlobal>

#include <string_view>
#include <variant>

namespace kivo {

// A user-visible text addressed by its dotted catalog key. A static key shows the key itself when the
// catalog lacks it; a formatted key carries one argument and an English default format ("%@" for a text,
// "%lld" for an integer), while the catalog formats hold the Qt placeholder "%1".
class LocalizedString {
public:
    enum class ArgumentKind { none, text, integer };
    using Argument = std::variant<std::monostate, QString, qint64>;

    // `key` and `defaultFormat` must outlive the value (the key table passes string literals).
    explicit LocalizedString(const char* key);
    LocalizedString(const char* key, const char* defaultFormat, QString argument);
    LocalizedString(const char* key, const char* defaultFormat, qint64 argument);

    const char* key() const { return key_; }
    // The English format with "%@" or "%lld" for the argument; the key itself for a static key.
    const char* defaultFormat() const { return defaultFormat_; }
    ArgumentKind argumentKind() const;
    const Argument& argument() const { return argument_; }
    // The text shown when the catalog has no entry: the key, or the default format filled in.
    QString defaultValue() const;
    // Puts the argument in place of the catalog format's "%1" (once, without re-reading the argument,
    // so a browser or group name holding "%2" stays as it is).
    QString fill(const QString& catalogFormat) const;

    friend bool operator==(const LocalizedString& a, const LocalizedString& b) {
        return std::string_view(a.key_) == std::string_view(b.key_) &&
               std::string_view(a.defaultFormat_) == std::string_view(b.defaultFormat_) &&
               a.argument_ == b.argument_;
    }

private:
    QString argumentText() const;

    const char* key_;
    const char* defaultFormat_;
    Argument argument_;
};

} // namespace kivo
