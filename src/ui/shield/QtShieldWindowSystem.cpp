#include "ui/shield/QtShieldWindowSystem.h"

#include "app/language/LocalizedStrings.h"
#include "core/Log.h"
#include "ui/shield/ShieldVeil.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace kivo {

namespace {

constexpr int kGrabAttempts = 40; // every 50 ms: two seconds for the window manager to map the veil

QString screenName(const QScreen* screen) {
    return screen->name();
}

QScreen* findScreen(const ShieldScreen& wanted) {
    for (QScreen* s : QGuiApplication::screens()) {
        if (screenName(s).toStdString() == wanted.name)
            return s;
    }
    return nullptr;
}

// Without a compositing manager a translucent window shows whatever was in its buffer. On X11 a
// compositor owns the selection _NET_WM_CM_S<screen>.
bool desktopComposites() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return QGuiApplication::platformName() != QLatin1String("offscreen");
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const QByteArray name = "_NET_WM_CM_S0";
    auto* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, name.size(), name.constData()), nullptr);
    if (!atom)
        return false;
    bool owned = false;
    if (atom->atom != XCB_ATOM_NONE) {
        auto* owner = xcb_get_selection_owner_reply(connection,
                                                    xcb_get_selection_owner(connection, atom->atom), nullptr);
        owned = owner && owner->owner != XCB_WINDOW_NONE;
        free(owner);
    }
    free(atom);
    return owned;
}

} // namespace

QtShieldWindowSystem::QtShieldWindowSystem(std::function<QString(const LocalizedString&)> text,
                                           QObject* parent)
    : QObject(parent), text_(std::move(text)) {
    grabRetry_.setInterval(50);
    grabRetry_.setSingleShot(true);
    connect(&grabRetry_, &QTimer::timeout, this, &QtShieldWindowSystem::tryGrab);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen*) {
        watchScreens();
        if (screensChanged_)
            screensChanged_();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, [this](QScreen*) {
        if (screensChanged_)
            screensChanged_();
    });
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, [this](QScreen*) {
        if (screensChanged_)
            screensChanged_();
    });
    watchScreens();
}

QtShieldWindowSystem::~QtShieldWindowSystem() {
    qApp->removeEventFilter(this);
    releaseGrab();
    for (auto& veil : veils_)
        delete veil.data();
}

void QtShieldWindowSystem::watchScreens() {
    for (QScreen* s : QGuiApplication::screens()) {
        if (watched_.contains(s))
            continue;
        watched_.insert(s);
        connect(s, &QScreen::geometryChanged, this, [this] {
            if (screensChanged_)
                screensChanged_();
        });
        connect(s, &QObject::destroyed, this, [this, s] { watched_.remove(s); });
    }
}

std::vector<ShieldScreen> QtShieldWindowSystem::screens() const {
    std::vector<ShieldScreen> result;
    for (QScreen* s : QGuiApplication::screens())
        result.push_back({screenName(s).toStdString(), s->geometry()});
    return result;
}

std::optional<ShieldScreen> QtShieldWindowSystem::mainScreen() const {
    if (QScreen* s = QGuiApplication::primaryScreen())
        return ShieldScreen{screenName(s).toStdString(), s->geometry()};
    return std::nullopt;
}

void QtShieldWindowSystem::showVeil(const ShieldScreen& screen, bool isPrimary,
                                    ShieldOverlayController& controller, std::function<void()> onEscape) {
    const auto text = [this](const LocalizedString& s) { return text_ ? text_(s) : QString(); };
    auto* veil = new ShieldVeil(controller, isPrimary, !desktopComposites(), std::move(onEscape),
                                {text(Strings::Nav::kivo()), text(Strings::Shield::cancel())});
    veils_.emplace_back(veil);
    if (QScreen* s = findScreen(screen))
        veil->setScreen(s);
    veil->setGeometry(screen.frame);
    QPointer<ShieldVeil> guard(veil);
    // Put back on a later turn: the hide may come from inside a window-manager event being handled. The
    // X server drops a grab whose window is unmapped, so it is taken again.
    connect(veil, &ShieldVeil::hiddenFromOutside, this, [this, guard, frame = screen.frame] {
        grabbed_ = false;
        QTimer::singleShot(0, guard, [this, guard, frame] {
            if (!guard)
                return;
            qCWarning(lcLifecycle, "Shield window was hidden from outside; showing it again");
            guard->setGeometry(frame);
            guard->showFullScreen();
            guard->raise();
            if (guard->isPrimary())
                guard->activateWindow();
            if (options_.has(PresentationOptions::disableProcessSwitching))
                startGrabbing();
        });
    });
    qApp->installEventFilter(this);
    veil->showFullScreen();
    veil->raise();
    if (isPrimary) {
        veil->activateWindow();
        veil->setFocus();
    }
    if (options_.has(PresentationOptions::disableProcessSwitching))
        startGrabbing();
}

void QtShieldWindowSystem::closeVeils() {
    qApp->removeEventFilter(this);
    releaseGrab();
    for (auto& veil : veils_) {
        if (!veil)
            continue;
        veil->setClosing();
        veil->hide();
        // Never deleted here: this may run inside the veil's own key handler (Escape).
        veil->deleteLater();
    }
    veils_.clear();
}

void QtShieldWindowSystem::setPresentationOptions(PresentationOptions options) {
    options_ = options;
    if (options.has(PresentationOptions::disableProcessSwitching)) {
        startGrabbing();
    } else {
        releaseGrab();
    }
}

void QtShieldWindowSystem::setScreensChangedHandler(std::function<void()> handler) {
    screensChanged_ = std::move(handler);
}

std::vector<ShieldVeil*> QtShieldWindowSystem::veils() const {
    std::vector<ShieldVeil*> result;
    for (const auto& veil : veils_) {
        if (veil)
            result.push_back(veil);
    }
    return result;
}

void QtShieldWindowSystem::startGrabbing() {
    grabAttempts_ = 0;
    tryGrab();
}

bool QtShieldWindowSystem::retryGrabLater() {
    if (++grabAttempts_ < kGrabAttempts) {
        grabRetry_.start();
        return true;
    }
    grabRetry_.stop();
    return false;
}

void QtShieldWindowSystem::tryGrab() {
    if (veils_.empty())
        return; // the next veil starts again
    ShieldVeil* holder = nullptr;
    for (const auto& veil : veils_) {
        if (veil && veil->isPrimary())
            holder = veil;
    }
    if (!holder)
        holder = veils_.front();
    if (!holder || !holder->windowHandle() || !holder->isVisible()) {
        if (!retryGrabLater())
            qCWarning(lcLifecycle, "Shield could not grab the keyboard and pointer: its window is not shown");
        return;
    }
    QWindow* window = holder->windowHandle();
    const bool keyboard = window->setKeyboardGrabEnabled(true);
    const bool pointer = window->setMouseGrabEnabled(true);
    if (keyboard && pointer) {
        grabbed_ = true;
        grabRetry_.stop();
        return;
    }
    // The window manager may not have mapped the veil yet, or another client holds a grab.
    if (!retryGrabLater()) {
        qCWarning(lcLifecycle, "Shield could not grab the keyboard and pointer (keyboard=%d pointer=%d)",
                  keyboard ? 1 : 0, pointer ? 1 : 0);
        grabbed_ = keyboard || pointer;
    }
}

bool QtShieldWindowSystem::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
        break;
    default:
        return false;
    }
    for (auto* w = qobject_cast<QWidget*>(watched); w; w = w->parentWidget()) {
        if (qobject_cast<ShieldVeil*>(w))
            return false;
    }
    if (!watched->isWidgetType() && !watched->isWindowType() && event->type() != QEvent::Shortcut)
        return false;
    if (auto* window = qobject_cast<QWindow*>(watched)) {
        for (const auto& veil : veils_) {
            if (veil && veil->windowHandle() == window)
                return false;
        }
    }
    // A key meant for a window under the veils: Escape still cancels, any other key goes nowhere.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        const std::vector<ShieldVeil*> up = veils();
        // Escape takes the veils down, this list with them: the veil is picked first.
        if (!up.empty()) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, static_cast<QKeyEvent*>(event)->modifiers());
            QCoreApplication::sendEvent(up.front(), &escape);
        }
    }
    return true;
}

void QtShieldWindowSystem::releaseGrab() {
    grabRetry_.stop();
    if (!grabbed_)
        return;
    for (const auto& veil : veils_) {
        if (veil && veil->windowHandle()) {
            veil->windowHandle()->setKeyboardGrabEnabled(false);
            veil->windowHandle()->setMouseGrabEnabled(false);
        }
    }
    grabbed_ = false;
}

} // namespace kivo
