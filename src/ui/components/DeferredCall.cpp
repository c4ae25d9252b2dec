#include "ui/components/DeferredCall.h"

#include <QTimer>

namespace kivo {

DeferredCall::DeferredCall(QObject* context, std::function<void()> action)
    : context_(context), action_(std::move(action)) {}

void DeferredCall::request() {
    if (pending_) {
        return;
    }
    pending_ = true;
    QTimer::singleShot(0, context_, [this] {
        pending_ = false;
        action_();
    });
}

} // namespace kivo
