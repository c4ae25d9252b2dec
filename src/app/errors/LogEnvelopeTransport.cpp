#include "app/errors/LogEnvelopeTransport.h"

#include "core/Log.h"

#include <QJsonDocument>

namespace kivo {

void LogEnvelopeTransport::send(const ErrorEvent& event, const QByteArray&, Delivered delivered) {
    qCWarning(lcLifecycle, "Error report (not sent, no DSN): %s",
              QJsonDocument(event.toJson()).toJson(QJsonDocument::Compact).constData());
    if (delivered) {
        delivered(true);
    }
}

} // namespace kivo
