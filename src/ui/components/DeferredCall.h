#pragma once

#include <functional>

class QObject;

namespace kivo {

// Runs an action once on a later turn of the event loop, however often it is asked for meanwhile. A
// store change may arrive from inside a widget the action replaces (a row's switch, a sheet's button):
// deleting it there would pull the sender from under its own handler.
class DeferredCall {
public:
    // Nothing runs after `context` is gone.
    DeferredCall(QObject* context, std::function<void()> action);

    void request();

private:
    QObject* context_;
    std::function<void()> action_;
    bool pending_ = false;
};

} // namespace kivo
