#pragma once

#include <QString>

namespace kivo {

// The catalog marks a phrase for emphasis with "**…**"; a label shows it bold.
namespace EmphasisMarkup {

// Rich text for `format`: every character is escaped first, so a "<", an "&" or an unpaired "**" shows
// as written, then each "**…**" pair becomes bold. `argument`, when given, goes in place of the first "%1"
// only after that, escaped too, so a mark inside it (a browser's name) can never pair with the catalog's.
// White space is kept as written.
QString toHtml(const QString& format, const QString& argument = QString());

} // namespace EmphasisMarkup
} // namespace kivo
