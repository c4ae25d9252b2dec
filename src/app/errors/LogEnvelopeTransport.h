#pragma once

#include "app/ports/EnvelopeTransport.h"

namespace kivo {

// With no DSN compiled in, reports are written to the log instead of being sent.
class LogEnvelopeTransport : public EnvelopeTransport {
public:
    void send(const ErrorEvent& event, const QByteArray& envelope, Delivered delivered = {}) override;
};

} // namespace kivo
