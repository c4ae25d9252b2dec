#pragma once

#include "app/errors/ErrorEvent.h"

#include <QByteArray>

#include <functional>

namespace kivo {

// Where finished error reports go. `send` must not block the caller. `delivered`, when given, is called
// once, later or at once: true when the report reached its endpoint (or, without one, the log), false when
// it could not be sent.
class EnvelopeTransport {
public:
    using Delivered = std::function<void(bool delivered)>;

    virtual ~EnvelopeTransport() = default;
    virtual void send(const ErrorEvent& event, const QByteArray& envelope, Delivered delivered = {}) = 0;
};

} // namespace kivo
