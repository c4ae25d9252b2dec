#pragma once

#include "platform/linux/PosixFileIo.h"

namespace kivo {

// The real system calls.
class SystemPosixFileIo final : public PosixFileIo {
public:
    int open(const char* path, int flags) override;
    int close(int fd) override;
    ssize_t read(int fd, void* buffer, std::size_t count) override;
    ssize_t write(int fd, const void* buffer, std::size_t count) override;
    int ioctl(int fd, unsigned long request, unsigned long argument) override;
};

} // namespace kivo
