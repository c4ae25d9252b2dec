#include "ui/shield/QtShieldWindowSystem.h"

#include "app/language/LocalizedStrings.h"
#include "core/Log.h"
#include "ui/shield/ShieldVeil.h"
#include "ui/shield/XcbReply.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xinerama.h>

#include <algorithm>
#include <string>

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

xcb_connection_t* xcbConnection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Without a compositing manager a translucent window shows whatever was in its buffer. On X11 a
// compositor owns the selection _NET_WM_CM_S<screen>.
bool desktopComposites() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return QGuiApplication::platformName() != QLatin1String("offscreen");
    xcb_connection_t* connection = xcbConnection();
    if (!connection)
        return false;
    const QByteArray name = "_NET_WM_CM_S0";
    XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, name.size(), name.constData()), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

// Qt keeps a screen's origin in device pixels and scales its size, and maps points on it the same way.
QRect toLogical(const QRect& native) {
    QScreen* screen = QGuiApplication::primaryScreen();
    for (QScreen* s : QGuiApplication::screens()) {
        if (QRect(s->geometry().topLeft(), s->geometry().size() * s->devicePixelRatio())
                .contains(native.center()))
            screen = s;
    }
    if (!screen)
        return native;
    const qreal ratio = screen->devicePixelRatio();
    const QPoint origin = screen->geometry().topLeft();
    return {origin + (native.topLeft() - origin) / ratio, native.size() / ratio};
}

// The heads of an X server that joins its screens with Xinerama. Without RandR 1.2 Qt sees only one
// screen as large as the root window, and a full-screen window fills just the head it is on.
std::vector<QRect> xineramaHeads() {
    xcb_connection_t* connection = xcbConnection();
    if (!connection)
        return {};
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xinerama_id);
    if (!extension || !extension->present)
        return {};
    XcbReply<xcb_xinerama_is_active_reply_t> active(
        xcb_xinerama_is_active_reply(connection, xcb_xinerama_is_active(connection), nullptr));
    if (!active || !active->state)
        return {};
    XcbReply<xcb_xinerama_query_screens_reply_t> reply(
        xcb_xinerama_query_screens_reply(connection, xcb_xinerama_query_screens(connection), nullptr));
    if (!reply)
        return {};
    std::vector<QRect> heads;
    const xcb_xinerama_screen_info_t* info = xcb_xinerama_query_screens_screen_info(reply.get());
    const int count = xcb_xinerama_query_screens_screen_info_length(reply.get());
    for (int i = 0; i < count; ++i)
        heads.push_back(toLogical(QRect(info[i].x_org, info[i].y_org, info[i].width, info[i].height)));
    return heads;
}

} // namespace

QtShieldWindowSystem::QtShieldWindowSystem(std::function<QString(const LocalizedString&)> text,
                                           QObject* parent)
    : QObject(parent), text_(std::move(text)) {
    grabRetry_.setInterval(50);
    grabRetry_.setSingleShot(true);
    connect(&grabRetry_, &QTimer::timeout, this, &QtShieldWindowSystem::tryGrab);
    // Unmapped behind Qt's back (a veil that Qt hid comes back through hiddenFromOutside).
    connect(&stacking_, &VeilStacking::unmappedFromOutside, this, [this](xcb_window_t window) {
        // Mapped now it would cover the locker; the veils are built anew after it.
        if (yielding_)
            return;
        xcb_connection_t* connection = xcbConnection();
        for (ShieldVeil* veil : veils()) {
            if (connection && veil->isVisible() && static_cast<xcb_window_t>(veil->winId()) == window) {
                xcb_map_window(connection, window);
                xcb_flush(connection);
                if (veil->isPrimary())
                    veil->activateWindow();
                veilCameBack();
            }
        }
    });
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

QtShieldWindowSystem::Layout QtShieldWindowSystem::layout() const {
    const std::vector<QRect> heads = xineramaHeads();
    const auto head = [&](std::size_t i) { return ShieldScreen{"xinerama-" + std::to_string(i), heads[i]}; };
    Layout layout;
    const auto add = [&](const ShieldScreen& screen, bool isMain) {
        if (std::find(layout.screens.begin(), layout.screens.end(), screen) != layout.screens.end())
            return;
        if (isMain && !layout.main)
            layout.main = layout.screens.size();
        layout.screens.push_back(screen);
    };
    for (QScreen* s : QGuiApplication::screens()) {
        const bool isMain = s == QGuiApplication::primaryScreen();
        std::vector<std::size_t> spanned;
        for (std::size_t i = 0; i < heads.size(); ++i) {
            if (s->geometry().contains(heads[i]))
                spanned.push_back(i);
        }
        // A window manager makes a full-screen window fill one head: a screen over several heads (Qt's one
        // screen without RandR 1.2) gets a veil per head, the first of the main screen's with the countdown.
        if (spanned.size() > 1) {
            for (std::size_t i : spanned)
                add(head(i), isMain);
        } else {
            add({screenName(s).toStdString(), s->geometry()}, isMain);
        }
    }
    // A head outside every screen Qt reports still gets its veil.
    for (std::size_t i = 0; i < heads.size(); ++i) {
        if (std::none_of(layout.screens.begin(), layout.screens.end(),
                         [&](const ShieldScreen& s) { return s.frame.contains(heads[i]); }))
            add(head(i), false);
    }
    return layout;
}

std::vector<ShieldScreen> QtShieldWindowSystem::screens() const {
    return layout().screens;
}

std::optional<ShieldScreen> QtShieldWindowSystem::mainScreen() const {
    Layout now = layout();
    if (!now.main)
        return std::nullopt;
    return now.screens[*now.main];
}

void QtShieldWindowSystem::showVeil(const ShieldScreen& screen, bool isPrimary,
                                    ShieldOverlayController& controller, std::function<void()> onEscape) {
    const auto text = [this](const LocalizedString& s) { return text_ ? text_(s) : QString(); };
    yielding_ = false;
    keyboard_.stop();
    auto* veil = new ShieldVeil(controller, isPrimary, !desktopComposites(), std::move(onEscape),
                                {text(Strings::Nav::kivo()), text(Strings::Shield::cancel()),
                                 text(Strings::Shield::A11y::countdown()), [text](qint64 seconds) {
                                     return text(Strings::Shield::A11y::remainingSeconds(seconds));
                                 }});
    veils_.emplace_back(veil);
    if (QScreen* s = findScreen(screen))
        veil->setScreen(s);
    // No window manager places the veil: it lies exactly on its screen's rectangle.
    veil->setGeometry(screen.frame);
    QPointer<ShieldVeil> guard(veil);
    // Put back on a later turn: the hide may come from inside an event being handled.
    connect(veil, &ShieldVeil::hiddenFromOutside, this, [this, guard, frame = screen.frame] {
        QTimer::singleShot(0, guard, [this, guard, frame] {
            // Mapped now it would cover the locker; the veils are built anew after it.
            if (!guard || yielding_)
                return;
            guard->setGeometry(frame);
            guard->show();
            guard->raise();
            if (guard->isPrimary())
                guard->activateWindow();
            veilCameBack();
        });
    });
    qApp->installEventFilter(this);
    veil->show();
    veil->raise();
    if (isPrimary) {
        veil->activateWindow();
        veil->setFocus();
    }
    if (xcbConnection()) {
        std::vector<xcb_window_t> windows;
        for (ShieldVeil* v : veils())
            windows.push_back(static_cast<xcb_window_t>(v->winId()));
        stacking_.keepOnTop(std::move(windows));
    }
    if (options_.has(PresentationOptions::disableProcessSwitching))
        startGrabbing();
}

void QtShieldWindowSystem::veilCameBack() {
    qCWarning(lcLifecycle, "Shield window was hidden from outside; showing it again");
    emit veilHiddenFromOutside();
    // The X server ends a grab whose window is unmapped: it is taken again.
    grabbed_ = false;
    if (options_.has(PresentationOptions::disableProcessSwitching))
        startGrabbing();
}

void QtShieldWindowSystem::closeVeils() {
    yielding_ = false;
    keyboard_.stop();
    qApp->removeEventFilter(this);
    stacking_.keepOnTop({});
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

void QtShieldWindowSystem::yieldToLocker() {
    yielding_ = true;
    stacking_.keepOnTop({});
    releaseGrab();
    // Out now, not at Qt's next flush: a locker started on the same news is trying to grab already.
    if (xcb_connection_t* connection = xcbConnection()) {
        xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
        xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
        xcb_flush(connection);
    }
    qCInfo(lcLifecycle, "Shield released the keyboard and pointer for a screen locker");
}

void QtShieldWindowSystem::whenKeyboardFree(std::chrono::milliseconds grace, std::function<void()> onFree) {
    if (onFree)
        keyboard_.start(grace, std::move(onFree));
    else
        keyboard_.stop();
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
    if (veils_.empty() || yielding_)
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
    qCDebug(lcLifecycle, "Shield grab attempt %d: keyboard=%d pointer=%d", grabAttempts_, keyboard ? 1 : 0,
            pointer ? 1 : 0);
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
    // Also after a failed attempt, which may have taken one of the two.
    for (const auto& veil : veils_) {
        if (veil && veil->windowHandle()) {
            veil->windowHandle()->setKeyboardGrabEnabled(false);
            veil->windowHandle()->setMouseGrabEnabled(false);
        }
    }
    grabbed_ = false;
}

} // namespace kivo
