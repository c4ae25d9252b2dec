#include "platform/linux/BusHandshake.h"

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kivo {

bool answersHandshake(const QString& address, std::chrono::milliseconds wait) {
    sockaddr_un target{};
    target.sun_family = AF_UNIX;
    socklen_t length = 0;
    for (const QString& part :
         address.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 1).split(QLatin1Char(','))) {
        const QByteArray value = part.section(QLatin1Char('='), 1).toUtf8();
        const bool abstract = part.startsWith(QLatin1String("abstract="));
        if ((!abstract && !part.startsWith(QLatin1String("path="))) ||
            value.size() + 1 >= static_cast<int>(sizeof target.sun_path)) {
            continue;
        }
        std::memcpy(target.sun_path + (abstract ? 1 : 0), value.constData(),
                    static_cast<std::size_t>(value.size()));
        length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + (abstract ? 1 : 0) + value.size() +
                                        (abstract ? 0 : 1));
    }
    if (!address.startsWith(QLatin1String("unix:")) || length == 0) {
        return true;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    bool answered = false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&target), length) == 0) {
        const QByteArray hello =
            QByteArray(1, '\0') + "AUTH EXTERNAL " + QByteArray::number(::getuid()).toHex() + "\r\n";
        pollfd readable{fd, POLLIN, 0};
        answered = ::send(fd, hello.constData(), static_cast<std::size_t>(hello.size()), MSG_NOSIGNAL) ==
                       hello.size() &&
                   ::poll(&readable, 1, static_cast<int>(wait.count())) == 1 && (readable.revents & POLLIN);
    }
    ::close(fd);
    return answered;
}

} // namespace kivo
