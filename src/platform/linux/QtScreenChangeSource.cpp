#include "platform/linux/QtScreenChangeSource.h"

#include <QGuiApplication>
#include <QScreen>

namespace kivo {

QtScreenChangeSource::QtScreenChangeSource(QObject* parent) : QObject(parent) {
    if (!qGuiApp) {
        return;
    }
    for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        changed();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this](QScreen*) { changed(); });
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, [this](QScreen*) { changed(); });
}

void QtScreenChangeSource::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, [this](const QRect&) { changed(); });
}

void QtScreenChangeSource::setDisplaysChangedHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
}

void QtScreenChangeSource::changed() {
    if (handler_) {
        handler_();
    }
}

} // namespace kivo
