#include "app/errors/HttpEnvelopeTransport.h"

#include "core/Log.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace kivo {

HttpEnvelopeTransport::HttpEnvelopeTransport(ErrorReportingDsn dsn, std::chrono::milliseconds timeout,
                                             int maxInFlight, QObject* parent)
    : QObject(parent), dsn_(std::move(dsn)), timeout_(timeout), maxInFlight_(maxInFlight) {}

void HttpEnvelopeTransport::send(const ErrorEvent& event, const QByteArray& envelope, Delivered delivered) {
    if (inFlight_ >= maxInFlight_) {
        qCWarning(lcLifecycle, "Error report %s dropped: %d reports are still being sent",
                  qUtf8Printable(event.eventId), inFlight_);
        if (delivered) {
            delivered(false);
        }
        return;
    }
    QNetworkRequest request(dsn_.envelopeEndpoint);
    request.setTransferTimeout(static_cast<int>(timeout_.count()));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-sentry-envelope"));
    auto client = QStringLiteral("kivo/%1").arg(QCoreApplication::applicationVersion().isEmpty()
                                                    ? QStringLiteral("0")
                                                    : QCoreApplication::applicationVersion());
    request.setRawHeader(QByteArrayLiteral("X-Sentry-Auth"),
                         QStringLiteral("Sentry sentry_version=7, sentry_client=%1, sentry_key=%2")
                             .arg(client, dsn_.publicKey)
                             .toUtf8());
    ++inFlight_;
    auto* reply = network_.post(request, envelope);
    // The transfer timeout only notices silence; a server that keeps sending a byte now and then would
    // hold the request (and one of the few slots) for ever, so the whole exchange gets a deadline too.
    QTimer::singleShot(timeout_, reply, [reply] { reply->abort(); });
    const auto eventId = event.eventId;
    connect(reply, &QNetworkReply::finished, this, [this, reply, eventId, delivered = std::move(delivered)] {
        --inFlight_;
        const auto status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool accepted = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
        if (!accepted) {
            qCWarning(lcLifecycle, "Error report %s not delivered: %s", qUtf8Printable(eventId),
                      qUtf8Printable(reply->errorString()));
        }
        reply->deleteLater();
        emit finished(accepted);
        if (delivered) {
            delivered(accepted);
        }
    });
}

} // namespace kivo
