#include "ui/components/EmphasisMarkup.h"

#include <QRegularExpression>

namespace kivo::EmphasisMarkup {

QString toHtml(const QString& format, const QString& argument) {
    static const QRegularExpression pair(QStringLiteral("\\*\\*(.+?)\\*\\*"));
    QString html = format.toHtmlEscaped().replace(pair, QStringLiteral("<b>\\1</b>"));
    const QString placeholder = QStringLiteral("%1");
    if (const qsizetype at = html.indexOf(placeholder); at >= 0 && !argument.isNull()) {
        html.replace(at, placeholder.size(), argument.toHtmlEscaped());
    }
    return QStringLiteral("<span style=\"white-space: pre-wrap\">") + html + QStringLiteral("</span>");
}

} // namespace kivo::EmphasisMarkup
