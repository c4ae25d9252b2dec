#include "platform/linux/LogindBacklightWriter.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace kivo {

namespace {
constexpr int kCallTimeoutMs = 2000;
} // namespace

bool LogindBacklightWriter::setBrightness(const std::string& device, std::uint32_t value) {
    auto message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1/session/auto"),
        QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("SetBrightness"));
    message << QStringLiteral("backlight") << QString::fromStdString(device) << static_cast<uint>(value);
    const QDBusMessage reply = QDBusConnection::systemBus().call(message, QDBus::Block, kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace kivo
