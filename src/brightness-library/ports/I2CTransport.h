#pragma once

#include "brightness-library/ports/DdcBusEntry.h"
#include "brightness-library/ports/I2CChannel.h"

#include <memory>
#include <string>
#include <vector>

namespace kivo {

// The DDC channels of the platform, found per connector.
class I2CTransport {
public:
    virtual ~I2CTransport() = default;

    // The channels of that connector, in the platform's order; empty when it has none.
    virtual std::vector<DdcBusEntry> busEntries(const std::string& connector) = 0;
    // Opens a channel addressed to the monitor's DDC/CI address, or none when that fails.
    virtual std::unique_ptr<I2CChannel> open(const DdcBusEntry& entry) = 0;
};

} // namespace kivo
