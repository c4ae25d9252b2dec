#include "platform/linux/LinuxI2CTransport.h"

#include "platform/linux/LinuxDrmDisplayList.h"
#include "platform/linux/SysfsFiles.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <regex>
#include <system_error>

namespace kivo {

namespace {

const std::regex kBusName{"i2c-[0-9]+"};
constexpr unsigned long kDdcChipAddress = 0x37;

class DevChannel final : public I2CChannel {
public:
    DevChannel(std::shared_ptr<PosixFileIo> io, int fd) : io_(std::move(io)), fd_(fd) {}
    ~DevChannel() override { io_->close(fd_); }
    DevChannel(const DevChannel&) = delete;
    DevChannel& operator=(const DevChannel&) = delete;

    bool write(const std::vector<std::uint8_t>& bytes) override {
        const ssize_t n = io_->writeUninterrupted(fd_, bytes.data(), bytes.size());
        // An I2C message goes out whole or not at all; a short count is a failure, not a partial success.
        return n == static_cast<ssize_t>(bytes.size());
    }

    bool read(std::vector<std::uint8_t>& into) override {
        const ssize_t n = io_->readUninterrupted(fd_, into.data(), into.size());
        return n == static_cast<ssize_t>(into.size());
    }

private:
    std::shared_ptr<PosixFileIo> io_;
    int fd_;
};

} // namespace

LinuxI2CTransport::LinuxI2CTransport(std::filesystem::path root, std::shared_ptr<PosixFileIo> io)
    : root_(std::move(root)), io_(std::move(io)) {}

std::vector<DdcBusEntry> LinuxI2CTransport::busEntries(const std::string& connector) {
    // A connector name never leads out of the DRM class directory.
    if (connector.empty() || connector.find('/') != std::string::npos || connector == "." ||
        connector == "..") {
        return {};
    }
    const auto dir = root_ / "sys/class/drm" / connector;
    std::vector<std::string> buses;
    std::error_code error;
    const auto ddc = std::filesystem::read_symlink(dir / "ddc", error);
    if (!error && std::regex_match(ddc.filename().string(), kBusName)) {
        buses.push_back(ddc.filename().string());
    } else {
        for (const auto& name : SysfsFiles::listNames(dir).value_or(std::vector<std::string>{})) {
            if (std::regex_match(name, kBusName)) {
                buses.push_back(name);
            }
        }
    }
    auto edid = SysfsFiles::readBytes(dir / "edid");
    if (edid && edid->empty()) {
        edid.reset();
    }
    const std::string location = LinuxDrmDisplayList::isBuiltinConnector(connector) ? "embedded" : connector;
    std::vector<DdcBusEntry> entries;
    for (const auto& bus : buses) {
        entries.push_back(DdcBusEntry{bus, location, edid});
    }
    return entries;
}

std::unique_ptr<I2CChannel> LinuxI2CTransport::open(const DdcBusEntry& entry) {
    if (!std::regex_match(entry.bus, kBusName)) {
        return nullptr;
    }
    const auto path = root_ / "dev" / entry.bus;
    const int fd = io_->open(path.c_str(), O_RDWR);
    if (fd < 0) {
        return nullptr;
    }
    if (io_->ioctl(fd, I2C_SLAVE, kDdcChipAddress) < 0) {
        io_->close(fd);
        return nullptr;
    }
    return std::make_unique<DevChannel>(io_, fd);
}

} // namespace kivo
