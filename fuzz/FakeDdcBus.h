#pragma once

#include "brightness-library/ports/DisplayListSource.h"
#include "brightness-library/ports/I2CTransport.h"
#include "brightness-library/ports/SleepClock.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kivo::fuzz {

// One external display (id 1, vendor 0x10AC, model 0x4242) on connector "DP-1".
class OneDisplay final : public DisplayListSource {
public:
    std::optional<std::vector<ActiveDisplay>> activeDisplays() override {
        return std::vector<ActiveDisplay>{ActiveDisplay{1, false, 0x10AC, 0x4242, "Studio", "DP-1"}};
    }
};

// One channel on "DP-1" carrying the given EDID, whose monitor answers every read with the given bytes.
class OneChannel final : public I2CTransport {
public:
    OneChannel(std::optional<std::vector<std::uint8_t>> edid, std::vector<std::uint8_t> reply)
        : edid_(std::move(edid)), reply_(std::move(reply)) {}

    std::vector<DdcBusEntry> busEntries(const std::string& connector) override {
        if (connector != "DP-1") {
            return {};
        }
        return {DdcBusEntry{"i2c-1", "DP", edid_}};
    }

    std::unique_ptr<I2CChannel> open(const DdcBusEntry&) override { return std::make_unique<Channel>(*this); }

    std::vector<std::vector<std::uint8_t>> written;

private:
    class Channel final : public I2CChannel {
    public:
        explicit Channel(OneChannel& owner) : owner_(owner) {}
        bool write(const std::vector<std::uint8_t>& bytes) override {
            owner_.written.push_back(bytes);
            return true;
        }
        // A monitor that sends fewer bytes than asked for makes the read fail, as a short read would.
        bool read(std::vector<std::uint8_t>& into) override {
            if (owner_.reply_.size() < into.size()) {
                return false;
            }
            std::copy_n(owner_.reply_.begin(), into.size(), into.begin());
            return true;
        }

    private:
        OneChannel& owner_;
    };

    std::optional<std::vector<std::uint8_t>> edid_;
    std::vector<std::uint8_t> reply_;
};

// Waits only move time forward.
class InstantClock final : public SleepClock {
public:
    Instant now() override { return now_; }
    void sleepFor(std::chrono::microseconds duration) override { now_ += duration; }

private:
    Instant now_{};
};

} // namespace kivo::fuzz
