#include "platform/simulated/SimulatedDdcMonitor.h"

#include <algorithm>

namespace kivo {

namespace {
constexpr std::uint8_t kChipAddress = 0x37;
constexpr std::uint8_t kSourceAddress = 0x51;
constexpr std::uint8_t kBrightnessCode = 0x10;
constexpr auto kMinimumGap = std::chrono::milliseconds(50);
constexpr auto kReplyDelay = std::chrono::milliseconds(40);
} // namespace

SimulatedDdcMonitor::SimulatedDdcMonitor(std::uint16_t current, std::uint16_t maximum,
                                         std::shared_ptr<SleepClock> clock)
    : clock_(std::move(clock)), current_(current), maximum_(maximum) {}

bool SimulatedDdcMonitor::tooSoon() const {
    return clock_ && lastMessageAt_ && clock_->now() - *lastMessageAt_ < kMinimumGap;
}

bool SimulatedDdcMonitor::write(std::uint8_t chipAddress, const std::vector<std::uint8_t>& bytes) {
    std::lock_guard lock(mutex_);
    if (chipAddress != kChipAddress) {
        return false;
    }
    messages_.push_back({Message::Kind::write, bytes});
    const bool early = tooSoon();
    if (clock_) {
        lastMessageAt_ = clock_->now();
    }
    pendingGet_.reset();
    // source, length, opcode..., checksum: the length byte counts the bytes between itself and the checksum.
    if (bytes.size() < 4 || bytes[0] != kSourceAddress || bytes[1] != (0x80 | (bytes.size() - 3))) {
        ++rejected_;
        return true;
    }
    std::uint8_t sum = 0x6E;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        sum ^= bytes[i];
    }
    if (sum != bytes.back()) {
        ++rejected_;
        return true;
    }
    if (early) {
        ++droppedForPacing_;
        return true;
    }
    const std::uint8_t opcode = bytes[2];
    if (opcode == 0x01 && bytes.size() == 5) {
        pendingGet_ = bytes[3];
        pendingGetAt_ = lastMessageAt_;
    } else if (opcode == 0x03 && bytes.size() == 7) {
        if (bytes[3] == kBrightnessCode) {
            const auto value = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
            current_ = std::min(value, maximum_);
            applied_.push_back(value);
        }
    } else {
        ++rejected_;
    }
    return true;
}

std::vector<std::uint8_t> SimulatedDdcMonitor::replyBytes(std::uint8_t code) const {
    if (behaviour_ == Behaviour::garbage) {
        return {0x6E, 0x80, 0xBE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    }
    const bool supported = code == kBrightnessCode && behaviour_ != Behaviour::unsupported;
    const std::uint16_t maximum = supported ? maximum_ : 0;
    const std::uint16_t current = supported ? current_ : 0;
    std::vector<std::uint8_t> reply{0x6E,
                                    0x88,
                                    0x02,
                                    static_cast<std::uint8_t>(supported ? 0x00 : 0x01),
                                    code,
                                    0x00,
                                    static_cast<std::uint8_t>(maximum >> 8),
                                    static_cast<std::uint8_t>(maximum & 0xFF),
                                    static_cast<std::uint8_t>(current >> 8),
                                    static_cast<std::uint8_t>(current & 0xFF)};
    std::uint8_t sum = 0x50;
    for (std::uint8_t b : reply) {
        sum ^= b;
    }
    reply.push_back(behaviour_ == Behaviour::wrongChecksum ? static_cast<std::uint8_t>(sum ^ 0x5A) : sum);
    return reply;
}

bool SimulatedDdcMonitor::read(std::uint8_t chipAddress, std::vector<std::uint8_t>& into) {
    std::lock_guard lock(mutex_);
    if (chipAddress != kChipAddress) {
        return false;
    }
    messages_.push_back({Message::Kind::read, {}});
    const auto pending = pendingGet_;
    const bool ready = !clock_ || (pendingGetAt_ && clock_->now() - *pendingGetAt_ >= kReplyDelay);
    pendingGet_.reset();
    if (clock_) {
        lastMessageAt_ = clock_->now();
    }
    if (behaviour_ == Behaviour::noAnswer || !pending || !ready) {
        return false;
    }
    const auto reply = replyBytes(*pending);
    std::fill(into.begin(), into.end(), 0);
    std::copy_n(reply.begin(), std::min(into.size(), reply.size()), into.begin());
    return true;
}

void SimulatedDdcMonitor::setBehaviour(Behaviour behaviour) {
    std::lock_guard lock(mutex_);
    behaviour_ = behaviour;
}

void SimulatedDdcMonitor::setCurrent(std::uint16_t current) {
    std::lock_guard lock(mutex_);
    current_ = current;
}

std::uint16_t SimulatedDdcMonitor::current() const {
    std::lock_guard lock(mutex_);
    return current_;
}

std::vector<SimulatedDdcMonitor::Message> SimulatedDdcMonitor::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<std::uint16_t> SimulatedDdcMonitor::appliedValues() const {
    std::lock_guard lock(mutex_);
    return applied_;
}

int SimulatedDdcMonitor::rejectedRequests() const {
    std::lock_guard lock(mutex_);
    return rejected_;
}

int SimulatedDdcMonitor::droppedForPacing() const {
    std::lock_guard lock(mutex_);
    return droppedForPacing_;
}

void SimulatedDdcMonitor::clearLog() {
    std::lock_guard lock(mutex_);
    messages_.clear();
    applied_.clear();
    rejected_ = 0;
    droppedForPacing_ = 0;
}

} // namespace kivo
