#pragma once

#include "platform/linux/PosixFileIo.h"
#include "platform/simulated/SimulatedDdcMonitor.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace kivo::test {

struct FakeI2CFaults {
    bool openFails = false;
    bool ioctlFails = false;
    bool shortWrite = false;
    bool shortRead = false;
};

// i2c-dev device files that exist only in this process: opening a registered path gives a descriptor whose
// I2C_SLAVE address, writes and reads go to a simulated monitor. Any other path goes to the real system
// calls. Faults can be planted per device.
class FakeI2CDevices final : public PosixFileIo {
public:
    using Faults = FakeI2CFaults;

    void addDevice(const std::string& path, std::shared_ptr<SimulatedDdcMonitor> monitor, Faults faults = {});

    int open(const char* path, int flags) override;
    int close(int fd) override;
    ssize_t read(int fd, void* buffer, std::size_t count) override;
    ssize_t write(int fd, const void* buffer, std::size_t count) override;
    int ioctl(int fd, unsigned long request, unsigned long argument) override;

    int openCount() const;
    int everOpened() const;

private:
    struct Device {
        std::shared_ptr<SimulatedDdcMonitor> monitor;
        Faults faults;
    };
    struct Open {
        Device* device;
        std::uint8_t address = 0;
    };

    mutable std::mutex mutex_;
    std::map<std::string, Device> devices_;
    std::map<int, Open> open_;
    int nextFd_ = 10000;
    int everOpened_ = 0;
};

} // namespace kivo::test
