#include "core/ManualClock.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace kivo {

class ManualClock::ManualTimer final : public Timer {
public:
    explicit ManualTimer(ManualClock* clock) : clock_(clock) { clock_->timers_.push_back(this); }
    ~ManualTimer() override {
        if (clock_) {
            auto& v = clock_->timers_;
            v.erase(std::remove(v.begin(), v.end(), this), v.end());
        }
    }
    void start(std::chrono::milliseconds interval) override {
        interval_ = std::max(interval, std::chrono::milliseconds(0));
        active_ = true;
        if (clock_) {
            due_ = clock_->monotonic_ + interval_;
            order_ = ++clock_->sequence_;
        }
    }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }

    void detach() { clock_ = nullptr; }
    void trigger() {
        if (isSingleShot()) {
            active_ = false;
        } else {
            // A zero interval would fire forever within one instant; treat it as one millisecond.
            due_ += std::max(interval_, std::chrono::milliseconds(1));
            order_ = ++clock_->sequence_;
        }
        fire();
    }

    ManualClock* clock_;
    bool active_ = false;
    std::chrono::milliseconds interval_{0};
    Instant due_{};
    std::uint64_t order_ = 0;
};

namespace {
// 2026-01-05T09:00:00Z
constexpr double kDefaultStartUnix = 1767603600.0;
} // namespace

ManualClock::ManualClock() : ManualClock(Date::fromUnixSeconds(kDefaultStartUnix)) {}

ManualClock::ManualClock(Date start, int utcOffsetSeconds)
    : now_(start), utcOffsetSeconds_(utcOffsetSeconds) {}

ManualClock::~ManualClock() {
    for (auto* t : timers_) {
        t->detach();
    }
}

LocalTime ManualClock::localTime() const {
    const std::time_t t = static_cast<std::time_t>(std::floor(now_.unixSeconds())) + utcOffsetSeconds_;
    std::tm tm{};
    gmtime_r(&t, &tm);
    return localTimeFromTm(tm);
}

void ManualClock::setLocal(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    const std::time_t utc = timegm(&tm) - utcOffsetSeconds_;
    now_ = Date::fromUnixSeconds(static_cast<double>(utc));
}

std::unique_ptr<Timer> ManualClock::createTimer() {
    return std::make_unique<ManualTimer>(this);
}

int ManualClock::activeTimerCount() const {
    return static_cast<int>(
        std::count_if(timers_.begin(), timers_.end(), [](auto* t) { return t->active_; }));
}

void ManualClock::advance(std::chrono::milliseconds duration) {
    const Instant target = monotonic_ + duration;
    for (;;) {
        ManualTimer* next = nullptr;
        for (auto* t : timers_) {
            if (!t->active_ || t->due_ > target) {
                continue;
            }
            if (!next || t->due_ < next->due_ || (t->due_ == next->due_ && t->order_ < next->order_)) {
                next = t;
            }
        }
        if (!next) {
            break;
        }
        const auto step = next->due_ - monotonic_;
        now_ = now_.addingSeconds(std::chrono::duration<double>(step).count());
        monotonic_ = next->due_;
        next->trigger();
    }
    now_ = now_.addingSeconds(std::chrono::duration<double>(target - monotonic_).count());
    monotonic_ = target;
}

bool ManualClock::advanceToNextTimer() {
    ManualTimer* next = nullptr;
    for (auto* t : timers_) {
        if (t->active_ && (!next || t->due_ < next->due_)) {
            next = t;
        }
    }
    if (!next) {
        return false;
    }
    advance(std::chrono::duration_cast<std::chrono::milliseconds>(next->due_ - monotonic_));
    return true;
}

} // namespace kivo
