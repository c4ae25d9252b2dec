#include "core/QtTimerFactory.h"

#include <QTimer>

namespace kivo {
namespace {

class QtTimer final : public Timer {
public:
    QtTimer() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { fire(); });
    }
    void start(std::chrono::milliseconds interval) override {
        timer_.setSingleShot(isSingleShot());
        timer_.start(interval);
    }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace

std::unique_ptr<Timer> QtTimerFactory::createTimer() {
    return std::make_unique<QtTimer>();
}

} // namespace kivo
