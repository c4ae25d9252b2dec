#include "FakeI2CDevices.h"

#include "platform/linux/SystemPosixFileIo.h"

#include <cerrno>
#include <cstring>
#include <linux/i2c-dev.h>
#include <vector>

namespace kivo::test {

namespace {
SystemPosixFileIo& real() {
    static SystemPosixFileIo io;
    return io;
}
} // namespace

void FakeI2CDevices::addDevice(const std::string& path, std::shared_ptr<SimulatedDdcMonitor> monitor,
                               Faults faults) {
    std::lock_guard lock(mutex_);
    devices_[path] = Device{std::move(monitor), faults};
}

int FakeI2CDevices::open(const char* path, int flags) {
    std::unique_lock lock(mutex_);
    const auto it = devices_.find(path);
    if (it == devices_.end()) {
        lock.unlock();
        return real().open(path, flags);
    }
    if (it->second.faults.openFails) {
        errno = EACCES;
        return -1;
    }
    const int fd = nextFd_++;
    open_[fd] = Open{&it->second};
    ++everOpened_;
    return fd;
}

int FakeI2CDevices::close(int fd) {
    std::unique_lock lock(mutex_);
    if (fd < 10000) {
        lock.unlock();
        return real().close(fd);
    }
    if (open_.erase(fd) == 0) {
        errno = EBADF;
        return -1;
    }
    return 0;
}

int FakeI2CDevices::ioctl(int fd, unsigned long request, unsigned long argument) {
    std::unique_lock lock(mutex_);
    const auto it = open_.find(fd);
    if (it == open_.end()) {
        lock.unlock();
        return real().ioctl(fd, request, argument);
    }
    if (request != I2C_SLAVE || it->second.device->faults.ioctlFails || argument > 0x7F) {
        errno = EINVAL;
        return -1;
    }
    it->second.address = static_cast<std::uint8_t>(argument);
    return 0;
}

ssize_t FakeI2CDevices::write(int fd, const void* buffer, std::size_t count) {
    std::unique_lock lock(mutex_);
    const auto it = open_.find(fd);
    if (it == open_.end()) {
        lock.unlock();
        return real().write(fd, buffer, count);
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    const Open open = it->second;
    lock.unlock();
    if (open.device->faults.shortWrite) {
        return static_cast<ssize_t>(count) - 1;
    }
    if (!open.device->monitor || !open.device->monitor->write(open.address, {bytes, bytes + count})) {
        errno = EREMOTEIO; // not acknowledged
        return -1;
    }
    return static_cast<ssize_t>(count);
}

ssize_t FakeI2CDevices::read(int fd, void* buffer, std::size_t count) {
    std::unique_lock lock(mutex_);
    const auto it = open_.find(fd);
    if (it == open_.end()) {
        lock.unlock();
        return real().read(fd, buffer, count);
    }
    const Open open = it->second;
    lock.unlock();
    std::vector<std::uint8_t> into(count, 0);
    if (!open.device->monitor || !open.device->monitor->read(open.address, into)) {
        errno = EREMOTEIO;
        return -1;
    }
    std::memcpy(buffer, into.data(), count);
    return open.device->faults.shortRead ? static_cast<ssize_t>(count) - 1 : static_cast<ssize_t>(count);
}

int FakeI2CDevices::openCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(open_.size());
}

int FakeI2CDevices::everOpened() const {
    std::lock_guard lock(mutex_);
    return everOpened_;
}

} // namespace kivo::test
