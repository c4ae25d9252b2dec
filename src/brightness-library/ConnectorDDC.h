#pragma once

#include "brightness-library/DDCInterface.h"
#include "brightness-library/ports/DisplayListSource.h"
#include "brightness-library/ports/I2CTransport.h"
#include "brightness-library/ports/SleepClock.h"

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace kivo {

// DDC/CI over the I2C channel of the display's own connector. Each display is bound to its connector, so
// two identical monitors never answer for each other. Transactions on one bus are serialised and spaced at
// least kBusGap apart: monitors drop commands that arrive back to back.
class ConnectorDDC final : public DDCInterface {
public:
    static constexpr std::chrono::microseconds kReplyWait{50'000};
    static constexpr std::chrono::microseconds kBusGap{50'000};

    ConnectorDDC(std::shared_ptr<DisplayListSource> displays, std::shared_ptr<I2CTransport> transport,
                 std::shared_ptr<SleepClock> clock);

    bool hasService(std::uint32_t displayID) override;
    std::optional<std::vector<std::uint8_t>> readVCP(std::uint32_t displayID, std::uint8_t code) override;
    bool writeVCP(std::uint32_t displayID, std::uint8_t code, std::uint16_t value) override;

private:
    struct Bus {
        std::mutex io; // held for a whole transaction, so one bus carries one exchange at a time
        std::optional<SleepClock::Instant> lastTransactionEnd;
    };
    struct Channel {
        std::unique_ptr<I2CChannel> channel;
        std::shared_ptr<Bus> bus;
    };

    std::optional<Channel> openChannel(std::uint32_t displayID);
    std::shared_ptr<Bus> bus(const std::string& name);
    void waitForGap(Bus& bus);

    std::shared_ptr<DisplayListSource> displays_;
    std::shared_ptr<I2CTransport> transport_;
    std::shared_ptr<SleepClock> clock_;
    std::mutex busesMutex_;
    std::map<std::string, std::shared_ptr<Bus>> buses_;
};

} // namespace kivo
