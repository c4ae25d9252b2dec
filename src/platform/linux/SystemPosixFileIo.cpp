#include "platform/linux/SystemPosixFileIo.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kivo {

int SystemPosixFileIo::open(const char* path, int flags) {
    return ::open(path, flags | O_CLOEXEC);
}

int SystemPosixFileIo::close(int fd) {
    return ::close(fd);
}

ssize_t SystemPosixFileIo::read(int fd, void* buffer, std::size_t count) {
    return ::read(fd, buffer, count);
}

ssize_t SystemPosixFileIo::write(int fd, const void* buffer, std::size_t count) {
    return ::write(fd, buffer, count);
}

int SystemPosixFileIo::ioctl(int fd, unsigned long request, unsigned long argument) {
    return ::ioctl(fd, request, argument);
}

} // namespace kivo
