#pragma once

#include "brightness-library/ports/I2CTransport.h"
#include "platform/linux/PosixFileIo.h"

#include <filesystem>
#include <memory>

namespace kivo {

// DDC/CI over i2c-dev: a connector's DDC bus is named by its "ddc" link (or an i2c-N child) in sysfs and
// opened as /dev/i2c-N, addressed to the monitor with I2C_SLAVE 0x37. Every descriptor is closed on every
// path; a channel closes its descriptor when destroyed.
class LinuxI2CTransport final : public I2CTransport {
public:
    LinuxI2CTransport(std::filesystem::path root, std::shared_ptr<PosixFileIo> io);

    std::vector<DdcBusEntry> busEntries(const std::string& connector) override;
    std::unique_ptr<I2CChannel> open(const DdcBusEntry& entry) override;

private:
    std::filesystem::path root_;
    std::shared_ptr<PosixFileIo> io_;
};

} // namespace kivo
