#pragma once

#include "brightness-library/ports/SleepClock.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace kivo {

// A monitor's DDC/CI side, at the level of I2C messages. It accepts only well-formed requests (chip address
// 0x37, source byte 0x51, a length byte that fits, a correct checksum), answers Get VCP Feature for the
// brightness code, and applies Set VCP Feature. Like real monitors it needs time: a reply read less than
// 40 ms after its request is not there yet, and a request that comes less than 50 ms after the previous
// message is dropped. Both rules apply only when the monitor is given a clock.
class SimulatedDdcMonitor {
public:
    enum class Behaviour {
        answers,       // a correct reply
        noAnswer,      // reads fail
        unsupported,   // a reply with result "unsupported VCP code"
        garbage,       // bytes that are no reply at all
        wrongChecksum, // a correct reply with a bad checksum
    };

    struct Message {
        enum class Kind { write, read };
        Kind kind;
        std::vector<std::uint8_t> bytes;

        friend bool operator==(const Message&, const Message&) = default;
    };

    explicit SimulatedDdcMonitor(std::uint16_t current = 50, std::uint16_t maximum = 100,
                                 std::shared_ptr<SleepClock> clock = nullptr);

    // The I2C side. A write to another address is not acknowledged (false).
    bool write(std::uint8_t chipAddress, const std::vector<std::uint8_t>& bytes);
    // False when the monitor does not answer.
    bool read(std::uint8_t chipAddress, std::vector<std::uint8_t>& into);

    void setBehaviour(Behaviour behaviour);
    void setCurrent(std::uint16_t current);
    std::uint16_t current() const;

    std::vector<Message> messages() const;
    // Every value a Set applied, in order.
    std::vector<std::uint16_t> appliedValues() const;
    int rejectedRequests() const;
    int droppedForPacing() const;
    void clearLog();

private:
    bool tooSoon() const;
    std::vector<std::uint8_t> replyBytes(std::uint8_t code) const;

    mutable std::mutex mutex_;
    std::shared_ptr<SleepClock> clock_;
    Behaviour behaviour_ = Behaviour::answers;
    std::uint16_t current_;
    std::uint16_t maximum_;
    std::optional<std::uint8_t> pendingGet_;
    std::optional<SleepClock::Instant> lastMessageAt_;
    std::optional<SleepClock::Instant> pendingGetAt_;
    std::vector<Message> messages_;
    std::vector<std::uint16_t> applied_;
    int rejected_ = 0;
    int droppedForPacing_ = 0;
};

} // namespace kivo
