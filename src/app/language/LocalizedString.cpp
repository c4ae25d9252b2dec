#include "app/language/LocalizedString.h"

#include <utility>

namespace kivo {

LocalizedString::LocalizedString(const char* key) : key_(key), defaultFormat_(key) {}

LocalizedString::LocalizedString(const char* key, const char* defaultFormat, QString argument)
    : key_(key), defaultFormat_(defaultFormat), argument_(std::move(argument)) {}

LocalizedString::LocalizedString(const char* key, const char* defaultFormat, qint64 argument)
    : key_(key), defaultFormat_(defaultFormat), argument_(argument) {}

LocalizedString::ArgumentKind LocalizedString::argumentKind() const {
    if (std::holds_alternative<QString>(argument_)) {
        return ArgumentKind::text;
    }
    if (std::holds_alternative<qint64>(argument_)) {
        return ArgumentKind::integer;
    }
    return ArgumentKind::none;
}

QString LocalizedString::argumentText() const {
    if (const auto* text = std::get_if<QString>(&argument_)) {
        return *text;
    }
    if (const auto* number = std::get_if<qint64>(&argument_)) {
        return QString::number(*number);
    }
    return {};
}

QString LocalizedString::defaultValue() const {
    QString format = QString::fromUtf8(defaultFormat_);
    const ArgumentKind kind = argumentKind();
    if (kind == ArgumentKind::none) {
        return format;
    }
    const QString placeholder = kind == ArgumentKind::text ? QStringLiteral("%@") : QStringLiteral("%lld");
    const qsizetype at = format.indexOf(placeholder);
    if (at < 0) {
        return format;
    }
    return format.replace(at, placeholder.size(), argumentText());
}

QString LocalizedString::fill(const QString& catalogFormat) const {
    if (argumentKind() == ArgumentKind::none) {
        return catalogFormat;
    }
    const QString placeholder = QStringLiteral("%1");
    const qsizetype at = catalogFormat.indexOf(placeholder);
    if (at < 0) {
        return catalogFormat;
    }
    QString filled = catalogFormat;
    return filled.replace(at, placeholder.size(), argumentText());
}

} // namespace kivo
