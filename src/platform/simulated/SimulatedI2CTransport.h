#pragma once

#include "brightness-library/ports/I2CTransport.h"
#include "platform/simulated/SimulatedDdcMonitor.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kivo {

// DDC channels of simulated connectors, each leading to a simulated monitor (or to nothing).
class SimulatedI2CTransport final : public I2CTransport {
public:
    // Adds a channel to the connector; a null monitor means nothing answers on it.
    void addChannel(const std::string& connector, DdcBusEntry entry,
                    std::shared_ptr<SimulatedDdcMonitor> monitor);
    void setOpenFails(const std::string& bus, bool fails);

    std::vector<DdcBusEntry> busEntries(const std::string& connector) override;
    std::unique_ptr<I2CChannel> open(const DdcBusEntry& entry) override;

    // The buses opened, in order.
    std::vector<std::string> opened() const;
    void clearOpened();
    int openChannels() const;

private:
    class Channel;
    struct Slot {
        DdcBusEntry entry;
        std::shared_ptr<SimulatedDdcMonitor> monitor;
        bool openFails = false;
    };

    mutable std::mutex mutex_;
    std::map<std::string, std::vector<Slot>> connectors_;
    std::vector<std::string> opened_;
    std::shared_ptr<int> openChannels_ = std::make_shared<int>(0);
};

} // namespace kivo
