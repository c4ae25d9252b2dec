#include "ui/shell/TrayItem.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

namespace kivo {

TrayItem::TrayItem(QObject* parent) : QObject(parent) {}

TrayItem::~TrayItem() = default;

void TrayItem::install(const QString& openTitle, const QString& quitTitle, std::function<void()> onOpen,
                       std::function<void()> onQuit) {
    delete icon_;
    menu_ = std::make_unique<QMenu>();
    open_ = menu_->addAction(openTitle);
    quit_ = menu_->addAction(quitTitle);
    connect(open_, &QAction::triggered, this, [onOpen = std::move(onOpen)] { onOpen(); });
    connect(quit_, &QAction::triggered, this, [onQuit = std::move(onQuit)] { onQuit(); });
    icon_ = new QSystemTrayIcon(QIcon(QStringLiteral(":/icons/kivo-leaf.svg")), this);
    icon_->setToolTip(QStringLiteral("Kivo"));
    icon_->setContextMenu(menu_.get());
    // A plain click opens the menu too, as the tray item has no other use.
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            menu_->popup(QCursor::pos());
    });
    icon_->show();
}

void TrayItem::setTitles(const QString& openTitle, const QString& quitTitle) {
    if (open_)
        open_->setText(openTitle);
    if (quit_)
        quit_->setText(quitTitle);
}

bool TrayItem::isAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace kivo
