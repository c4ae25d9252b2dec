#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <xcb/xcb.h>

#include <memory>
#include <vector>

class QSocketNotifier;

namespace kivo {

// Keeps a few windows that no window manager manages above every other window of the X screen, as a
// screen locker does: whenever another window is mapped, raised or restacked over them, they are raised
// again. It watches the root window on a connection of its own, so Qt's event handling is left as it
// is. A kept window that another client unmaps is reported.
class VeilStacking : public QObject {
    Q_OBJECT
public:
    explicit VeilStacking(QObject* parent = nullptr);
    ~VeilStacking() override;

    // Starts keeping `windows` on top (and stops keeping any others); an empty list stops watching.
    void keepOnTop(std::vector<xcb_window_t> windows);

signals:
    // Another client unmapped a kept window, which is still unmapped.
    void unmappedFromOutside(xcb_window_t window);

private:
    bool connectToServer();
    void disconnectFromServer();
    void readEvents();
    void handle(const xcb_generic_event_t& event);
    bool isKept(xcb_window_t window) const;
    void restackSoon();
    void restack();

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<xcb_window_t> windows_;
    QTimer restack_;
    QElapsedTimer sinceRaise_;
};

} // namespace kivo
