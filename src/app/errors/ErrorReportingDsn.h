#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace kivo {

// The parts of a DSN ("https://<public key>@<host>[:port][/<path>]/<project id>") that sending needs.
struct ErrorReportingDsn {
    QString text;
    QString publicKey;
    QUrl envelopeEndpoint; // <scheme>://<host>[:port][/<path>]/api/<project id>/envelope/

    // Nothing for an empty text, a scheme other than http or https, or a missing key, host or project.
    static std::optional<ErrorReportingDsn> parse(const QString& text);

    friend bool operator==(const ErrorReportingDsn&, const ErrorReportingDsn&) = default;
};

} // namespace kivo
