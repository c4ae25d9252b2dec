#pragma once

#include "app/errors/ErrorEvent.h"

#include <QByteArray>

namespace kivo {

// Where finished error reports go. `send` must not block the caller.
class EnvelopeTransport {
public:
    virtual ~EnvelopeTransport() = default;
    virtual void send(const ErrorEvent& event, const QByteArray& envelope) = 0;
};

} // namespace kivo
