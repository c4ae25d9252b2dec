#pragma once

#include "brightness-library/DisplayBrightnessBackend.h"

#include <condition_variable>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

namespace kivo::test {

// A back end that records every set. Sets to a held display wait until it is released; failing displays
// answer writeFailed.
class FakeBrightnessBackend final : public DisplayBrightnessBackend {
public:
    using Set = std::pair<std::uint32_t, float>;

    void setDisplays(std::vector<DisplayInfo> displays) {
        std::lock_guard lock(mutex_);
        displays_ = std::move(displays);
    }
    void setFailing(std::uint32_t id) {
        std::lock_guard lock(mutex_);
        failing_.insert(id);
    }
    void hold(std::uint32_t id) {
        std::lock_guard lock(mutex_);
        held_.insert(id);
    }
    void release(std::uint32_t id) {
        {
            std::lock_guard lock(mutex_);
            held_.erase(id);
        }
        released_.notify_all();
    }
    std::vector<Set> sets() const {
        std::lock_guard lock(mutex_);
        return sets_;
    }
    int started() const {
        std::lock_guard lock(mutex_);
        return started_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        sets_.clear();
        started_ = 0;
    }
    int listCalls() const {
        std::lock_guard lock(mutex_);
        return listCalls_;
    }

    std::vector<DisplayInfo> connectedDisplays() override {
        std::lock_guard lock(mutex_);
        ++listCalls_;
        return displays_;
    }
    DisplayBrightnessCapability capability(std::uint32_t) override {
        return {true, DisplayBrightnessCapability::Backend::ddc};
    }
    DimwellResult<float> brightness(std::uint32_t id) override { return DimwellError::readFailed(id); }
    DimwellResult<void> setBrightness(std::uint32_t id, float level) override {
        std::unique_lock lock(mutex_);
        ++started_;
        released_.wait(lock, [&] { return !held_.count(id); });
        sets_.emplace_back(id, level);
        if (failing_.count(id)) {
            return DimwellError::writeFailed(id);
        }
        return {};
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable released_;
    std::vector<DisplayInfo> displays_;
    std::set<std::uint32_t> failing_;
    std::set<std::uint32_t> held_;
    std::vector<Set> sets_;
    int started_ = 0;
    int listCalls_ = 0;
};

} // namespace kivo::test
