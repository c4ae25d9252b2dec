#include "platform/simulated/SimulatedI2CTransport.h"

namespace kivo {

class SimulatedI2CTransport::Channel final : public I2CChannel {
public:
    Channel(std::shared_ptr<SimulatedDdcMonitor> monitor, std::shared_ptr<int> open, std::mutex& mutex)
        : monitor_(std::move(monitor)), open_(std::move(open)), mutex_(mutex) {}
    ~Channel() override {
        std::lock_guard lock(mutex_);
        --*open_;
    }
    bool write(const std::vector<std::uint8_t>& bytes) override {
        return monitor_ && monitor_->write(0x37, bytes);
    }
    bool read(std::vector<std::uint8_t>& into) override { return monitor_ && monitor_->read(0x37, into); }

private:
    std::shared_ptr<SimulatedDdcMonitor> monitor_;
    std::shared_ptr<int> open_;
    std::mutex& mutex_;
};

void SimulatedI2CTransport::addChannel(const std::string& connector, DdcBusEntry entry,
                                       std::shared_ptr<SimulatedDdcMonitor> monitor) {
    std::lock_guard lock(mutex_);
    connectors_[connector].push_back(Slot{std::move(entry), std::move(monitor)});
}

void SimulatedI2CTransport::setOpenFails(const std::string& bus, bool fails) {
    std::lock_guard lock(mutex_);
    for (auto& [connector, slots] : connectors_) {
        for (auto& slot : slots) {
            if (slot.entry.bus == bus) {
                slot.openFails = fails;
            }
        }
    }
}

std::vector<DdcBusEntry> SimulatedI2CTransport::busEntries(const std::string& connector) {
    std::lock_guard lock(mutex_);
    std::vector<DdcBusEntry> result;
    const auto it = connectors_.find(connector);
    if (it != connectors_.end()) {
        for (const auto& slot : it->second) {
            result.push_back(slot.entry);
        }
    }
    return result;
}

std::unique_ptr<I2CChannel> SimulatedI2CTransport::open(const DdcBusEntry& entry) {
    std::lock_guard lock(mutex_);
    for (const auto& [connector, slots] : connectors_) {
        for (const auto& slot : slots) {
            if (slot.entry == entry) {
                opened_.push_back(entry.bus);
                if (slot.openFails) {
                    return nullptr;
                }
                ++*openChannels_;
                return std::make_unique<Channel>(slot.monitor, openChannels_, mutex_);
            }
        }
    }
    return nullptr;
}

std::vector<std::string> SimulatedI2CTransport::opened() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

void SimulatedI2CTransport::clearOpened() {
    std::lock_guard lock(mutex_);
    opened_.clear();
}

int SimulatedI2CTransport::openChannels() const {
    std::lock_guard lock(mutex_);
    return *openChannels_;
}

} // namespace kivo
