#include "app/errors/ErrorReportingDsn.h"

namespace kivo {

std::optional<ErrorReportingDsn> ErrorReportingDsn::parse(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")) ||
        url.userName().isEmpty() || url.host().isEmpty() || url.hasQuery() || url.hasFragment()) {
        return std::nullopt;
    }
    auto path = url.path();
    while (path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    const auto slash = path.lastIndexOf(QLatin1Char('/'));
    const auto project = path.mid(slash + 1);
    if (slash < 0 || project.isEmpty()) {
        return std::nullopt;
    }
    for (const QChar c : project) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_')) {
            return std::nullopt;
        }
    }
    QUrl endpoint;
    endpoint.setScheme(url.scheme());
    endpoint.setHost(url.host());
    endpoint.setPort(url.port());
    endpoint.setPath(path.left(slash) + QStringLiteral("/api/") + project + QStringLiteral("/envelope/"));
    return ErrorReportingDsn{text, url.userName(), endpoint};
}

} // namespace kivo
