#pragma once

#include "app/ports/StatusItemPort.h"

#include <QObject>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace kivo {

// The tray item: Kivo's monochrome leaf and a menu of two entries, open then quit.
class TrayItem : public QObject, public StatusItemPort {
    Q_OBJECT
public:
    explicit TrayItem(QObject* parent = nullptr);
    ~TrayItem() override;

    void install(const QString& openTitle, const QString& quitTitle, std::function<void()> onOpen,
                 std::function<void()> onQuit) override;
    void setTitles(const QString& openTitle, const QString& quitTitle) override;

    // Whether the desktop shows tray items now; asked each time, since a tray host can come and go.
    static bool isAvailable();
    QMenu* menu() const { return menu_.get(); }
    QSystemTrayIcon* icon() const { return icon_; }

private:
    std::unique_ptr<QMenu> menu_;
    QSystemTrayIcon* icon_ = nullptr;
    QAction* open_ = nullptr;
    QAction* quit_ = nullptr;
};

} // namespace kivo
