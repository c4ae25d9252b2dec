#pragma once

#include "brightness-library/SystemDisplayBrightnessBackend.h"
#include "platform/simulated/SimulatedDdcMonitor.h"
#include "platform/simulated/SimulatedDisplays.h"
#include "platform/simulated/SimulatedI2CTransport.h"
#include "platform/simulated/SimulatedSleepClock.h"

#include <memory>
#include <string>

namespace kivo::test {

// A back end over simulated displays, channels and monitors, on a clock whose waits take no time.
struct BrightnessRig {
    std::shared_ptr<SimulatedDisplays> displays = std::make_shared<SimulatedDisplays>();
    std::shared_ptr<SimulatedI2CTransport> transport = std::make_shared<SimulatedI2CTransport>();
    std::shared_ptr<SimulatedSleepClock> clock = std::make_shared<SimulatedSleepClock>();
    SystemDisplayBrightnessBackend backend{displays, displays, transport, clock};

    // An external display on its own connector with one DDC channel leading to a fresh monitor.
    std::shared_ptr<SimulatedDdcMonitor> addDdcDisplay(std::uint32_t id, const std::string& name,
                                                       std::uint16_t current = 50,
                                                       std::uint16_t maximum = 100) {
        const std::string connector = "DP-" + std::to_string(id);
        displays->add({ActiveDisplay{id, false, 0x10AC, 0x4242, name, connector}});
        auto monitor = std::make_shared<SimulatedDdcMonitor>(current, maximum, clock);
        transport->addChannel(connector, DdcBusEntry{"i2c-" + std::to_string(id), connector, std::nullopt},
                              monitor);
        return monitor;
    }

    void addBuiltin(std::uint32_t id, const std::string& name) {
        displays->add({ActiveDisplay{id, true, 0x0DAE, 0x1, name, "eDP-1"}});
    }
};

} // namespace kivo::test
