#pragma once

#include <QString>

#include <chrono>

namespace kivo {

// Whether a bus at a unix-socket address answers the first step of the handshake within `wait`. libdbus
// would wait 25 s on a bus that accepts and never speaks; this asks first, with a bound of its own.
// Addresses of other transports are left to libdbus.
bool answersHandshake(const QString& address, std::chrono::milliseconds wait);

} // namespace kivo
