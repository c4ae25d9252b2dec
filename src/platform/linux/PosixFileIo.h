#pragma once

#include <cerrno>
#include <cstddef>
#include <sys/types.h>

namespace kivo {

// The handful of file calls the device back ends make, so tests can stand in for devices this machine does
// not have. Each call behaves like its POSIX namesake: -1 with errno set on failure.
class PosixFileIo {
public:
    virtual ~PosixFileIo() = default;

    virtual int open(const char* path, int flags) = 0;
    virtual int close(int fd) = 0;
    virtual ssize_t read(int fd, void* buffer, std::size_t count) = 0;
    virtual ssize_t write(int fd, const void* buffer, std::size_t count) = 0;
    virtual int ioctl(int fd, unsigned long request, unsigned long argument) = 0;

    // read and write, made again when a signal interrupted them before anything was moved.
    ssize_t readUninterrupted(int fd, void* buffer, std::size_t count) {
        ssize_t n = -1;
        do {
            n = read(fd, buffer, count);
        } while (n < 0 && errno == EINTR);
        return n;
    }
    ssize_t writeUninterrupted(int fd, const void* buffer, std::size_t count) {
        ssize_t n = -1;
        do {
            n = write(fd, buffer, count);
        } while (n < 0 && errno == EINTR);
        return n;
    }
};

} // namespace kivo
