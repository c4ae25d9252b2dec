#include "brightness-library/ConnectorDDC.h"

#include "brightness-library/DDCPacket.h"
#include "brightness-library/Edid.h"

#include <algorithm>
#include <cctype>

namespace kivo {

namespace {

bool isInternalLocation(std::string location) {
    std::transform(location.begin(), location.end(), location.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return location.find("embedded") != std::string::npos || location.find("internal") != std::string::npos;
}

// An entry whose EDID names another monitor belongs to someone else; an entry without a usable EDID (none,
// too short, or without the fixed header, so its ids mean nothing) is given the benefit of the doubt.
bool edidMatches(const DdcBusEntry& entry, const ActiveDisplay& display) {
    if (!entry.edid || entry.edid->size() < 12 || !Edid::hasHeader(*entry.edid)) {
        return true;
    }
    return Edid::vendorNumber(*entry.edid) == display.vendor &&
           Edid::modelNumber(*entry.edid) == display.model;
}

// On the wire a packet follows the host's source address, which doubles as the register offset.
std::vector<std::uint8_t> withDataAddress(const std::uint8_t* packet, std::size_t size) {
    std::vector<std::uint8_t> request(size + 1);
    request[0] = DDCPacket::kDataAddress;
    std::copy(packet, packet + size, request.begin() + 1);
    return request;
}

} // namespace

ConnectorDDC::ConnectorDDC(std::shared_ptr<DisplayListSource> displays,
                           std::shared_ptr<I2CTransport> transport, std::shared_ptr<SleepClock> clock)
    : displays_(std::move(displays)), transport_(std::move(transport)), clock_(std::move(clock)) {}

std::optional<ConnectorDDC::Channel> ConnectorDDC::openChannel(std::uint32_t displayID) {
    const auto display = displays_->activeDisplay(displayID);
    // Built-in panels are never driven over DDC.
    if (!display || display->isBuiltin || display->connector.empty()) {
        return std::nullopt;
    }
    for (const DdcBusEntry& entry : transport_->busEntries(display->connector)) {
        if (isInternalLocation(entry.location) || !edidMatches(entry, *display)) {
            continue;
        }
        if (auto channel = transport_->open(entry)) {
            return Channel{std::move(channel), bus(entry.bus)};
        }
    }
    return std::nullopt;
}

std::shared_ptr<ConnectorDDC::Bus> ConnectorDDC::bus(const std::string& name) {
    std::lock_guard lock(busesMutex_);
    auto& bus = buses_[name];
    if (!bus) {
        bus = std::make_shared<Bus>();
    }
    return bus;
}

void ConnectorDDC::waitForGap(Bus& bus) {
    if (!bus.lastTransactionEnd) {
        return;
    }
    const auto due = *bus.lastTransactionEnd + kBusGap;
    const auto now = clock_->now();
    if (now < due) {
        clock_->sleepFor(std::chrono::duration_cast<std::chrono::microseconds>(due - now));
    }
}

bool ConnectorDDC::hasService(std::uint32_t displayID) {
    return openChannel(displayID).has_value();
}

std::optional<std::vector<std::uint8_t>> ConnectorDDC::readVCP(std::uint32_t displayID, std::uint8_t code) {
    auto channel = openChannel(displayID);
    if (!channel) {
        return std::nullopt;
    }
    const auto packet = DDCPacket::getRequest(code);
    const auto request = withDataAddress(packet.data(), packet.size());

    std::lock_guard lock(channel->bus->io);
    waitForGap(*channel->bus);
    std::optional<std::vector<std::uint8_t>> reply;
    if (channel->channel->write(request)) {
        clock_->sleepFor(kReplyWait);
        std::vector<std::uint8_t> buffer(DDCPacket::kReplyLength, 0);
        if (channel->channel->read(buffer)) {
            reply = std::move(buffer);
        }
    }
    channel->bus->lastTransactionEnd = clock_->now();
    return reply;
}

bool ConnectorDDC::writeVCP(std::uint32_t displayID, std::uint8_t code, std::uint16_t value) {
    auto channel = openChannel(displayID);
    if (!channel) {
        return false;
    }
    const auto packet = DDCPacket::setRequest(code, value);
    const auto request = withDataAddress(packet.data(), packet.size());

    std::lock_guard lock(channel->bus->io);
    waitForGap(*channel->bus);
    const bool written = channel->channel->write(request);
    channel->bus->lastTransactionEnd = clock_->now();
    return written;
}

} // namespace kivo
