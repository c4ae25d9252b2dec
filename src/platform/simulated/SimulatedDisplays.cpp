#include "platform/simulated/SimulatedDisplays.h"

#include <algorithm>
#include <stdexcept>

namespace kivo {

void SimulatedDisplays::add(Display display) {
    std::lock_guard lock(mutex_);
    displays_.push_back(std::move(display));
}

void SimulatedDisplays::remove(std::uint32_t displayID) {
    std::lock_guard lock(mutex_);
    std::erase_if(displays_, [&](const Display& d) { return d.info.displayID == displayID; });
}

void SimulatedDisplays::setListFails(bool fails) {
    std::lock_guard lock(mutex_);
    listFails_ = fails;
}

SimulatedDisplays::Display* SimulatedDisplays::find(std::uint32_t displayID) {
    const auto it = std::find_if(displays_.begin(), displays_.end(),
                                 [&](const Display& d) { return d.info.displayID == displayID; });
    return it == displays_.end() ? nullptr : &*it;
}

SimulatedDisplays::Display& SimulatedDisplays::display(std::uint32_t displayID) {
    std::lock_guard lock(mutex_);
    if (Display* d = find(displayID)) {
        return *d;
    }
    throw std::out_of_range("no simulated display with that identifier");
}

std::optional<std::vector<ActiveDisplay>> SimulatedDisplays::activeDisplays() {
    std::lock_guard lock(mutex_);
    if (listFails_) {
        return std::nullopt;
    }
    std::vector<ActiveDisplay> result;
    for (const auto& d : displays_) {
        result.push_back(d.info);
    }
    return result;
}

bool SimulatedDisplays::canChangeBrightness(std::uint32_t displayID) {
    std::lock_guard lock(mutex_);
    calls_.push_back({ServiceCall::Kind::canChange, displayID});
    const Display* d = find(displayID);
    return d && d->serviceAvailable && d->serviceAccepts;
}

std::optional<float> SimulatedDisplays::brightness(std::uint32_t displayID) {
    std::lock_guard lock(mutex_);
    calls_.push_back({ServiceCall::Kind::read, displayID});
    const Display* d = find(displayID);
    if (!d || !d->serviceAvailable || d->readFails) {
        return std::nullopt;
    }
    return d->level;
}

bool SimulatedDisplays::setBrightness(std::uint32_t displayID, float level) {
    std::lock_guard lock(mutex_);
    calls_.push_back({ServiceCall::Kind::write, displayID, level});
    Display* d = find(displayID);
    if (!d || !d->serviceAvailable || d->writeFails) {
        return false;
    }
    d->level = level;
    return true;
}

void SimulatedDisplays::brightnessChanged(std::uint32_t displayID, double level) {
    std::lock_guard lock(mutex_);
    calls_.push_back({ServiceCall::Kind::changed, displayID, level});
}

std::optional<float> SimulatedDisplays::level(std::uint32_t displayID) const {
    std::lock_guard lock(mutex_);
    const auto it = std::find_if(displays_.begin(), displays_.end(),
                                 [&](const Display& d) { return d.info.displayID == displayID; });
    return it == displays_.end() ? std::nullopt : it->level;
}

std::vector<SimulatedDisplays::ServiceCall> SimulatedDisplays::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void SimulatedDisplays::clearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

} // namespace kivo
