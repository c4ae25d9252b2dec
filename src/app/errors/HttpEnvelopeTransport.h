#pragma once

#include "app/errors/ErrorReportingDsn.h"
#include "app/ports/EnvelopeTransport.h"

#include <QNetworkAccessManager>
#include <QObject>

#include <chrono>

namespace kivo {

// Posts envelopes to the DSN's endpoint. Requests run asynchronously on the main thread's event loop;
// each is abandoned `timeout` after it started, and while `maxInFlight` are under way further reports are
// dropped (and logged) rather than queued without bound: their senders are told they were not delivered.
class HttpEnvelopeTransport : public QObject, public EnvelopeTransport {
    Q_OBJECT

public:
    explicit HttpEnvelopeTransport(ErrorReportingDsn dsn,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(10),
                                   int maxInFlight = 8, QObject* parent = nullptr);

    void send(const ErrorEvent& event, const QByteArray& envelope, Delivered delivered = {}) override;
    int inFlight() const { return inFlight_; }

signals:
    // One per request that was started: whether the server accepted the envelope.
    void finished(bool accepted);

private:
    ErrorReportingDsn dsn_;
    std::chrono::milliseconds timeout_;
    int maxInFlight_;
    int inFlight_ = 0;
    QNetworkAccessManager network_;
};

} // namespace kivo
