#include "platform/linux/LinuxAccessibilityTree.h"

#include "core/Log.h"
#include "core/Threads.h"
#include "platform/linux/BusHandshake.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstring>
#include <thread>

#include <unistd.h>

#include <cstdlib>
#include <limits>

namespace kivo {
namespace {

const QString kRootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString kRegistry = QStringLiteral("org.a11y.atspi.Registry");
constexpr const char* kAccessible = "org.a11y.atspi.Accessible";
constexpr unsigned kRoleComboBox = 11;
constexpr unsigned kRoleFrame = 23;
constexpr unsigned kRoleInternalFrame = 28;
constexpr unsigned kRolePageTab = 37;
constexpr unsigned kRoleText = 61;
constexpr unsigned kRoleToolBar = 63;
constexpr unsigned kRoleApplication = 75;
constexpr unsigned kRoleEntry = 79;
constexpr unsigned kRoleDocumentFrame = 82;
constexpr unsigned kRoleDocumentSpreadsheet = 92; // the documents run up to the e-mail one
constexpr unsigned kRoleDocumentWeb = 95;
constexpr unsigned kRoleDocumentEmail = 96;
constexpr unsigned kRelationLabelFor = 1;
constexpr unsigned kRelationEmbeds = 13;
constexpr int kStateActive = 1;
constexpr int kStateBusy = 3;
constexpr int kStateDefunct = 6;
constexpr int kStateEditable = 7;
constexpr int kStateFocused = 12;
constexpr int kStateSelected = 23;
constexpr int kStateSingleLine = 26;
constexpr int kStateSupportsAutocompletion = 37;
constexpr int kStateReadOnly = 43;
constexpr int kCollectionMatchAll = 1;
constexpr int kCollectionMatchAny = 2;
constexpr unsigned kCollectionSortCanonical = 1;
constexpr std::chrono::milliseconds kTrustRecheck{2000};
constexpr int kSessionTimeoutMs = 500;
constexpr std::chrono::milliseconds kHandshakeWait{1000};
// Two handshakes and two session-bus calls, with room to spare.
constexpr std::chrono::milliseconds kRefreshEnd{4000};
// Windows whose address fields are remembered; a field is forgotten when it goes.
constexpr std::size_t kRememberedFields = 16;
// How far below its window a part of the browser's own interface (its address field, a tab) may lie.
constexpr int kMaxInterfaceDepth = 24;

QDBusMessage sessionStatusCall(const char* method, const QList<QVariant>& arguments) {
    auto message = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QString::fromLatin1(method));
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, kSessionTimeoutMs);
}

std::vector<AccessibilityElement> references(const QDBusArgument& argument) {
    std::vector<AccessibilityElement> out;
    argument.beginArray();
    while (!argument.atEnd()) {
        QString name;
        QDBusObjectPath path;
        argument.beginStructure();
        argument >> name >> path;
        argument.endStructure();
        out.push_back(AccessibilityElement{name.toStdString(), path.path().toStdString()});
    }
    argument.endArray();
    return out;
}

bool isError(const QDBusMessage& reply) {
    return reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty();
}

// A new connection to the accessibility bus, whose address the session bus hands out (starting the bus
// where needed); none when there is none or it does not answer.
std::optional<QDBusConnection> connectAccessibilityBus() {
    const auto message =
        QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                       QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
    const auto reply = QDBusConnection::sessionBus().call(message, QDBus::Block, kSessionTimeoutMs);
    if (isError(reply)) {
        return std::nullopt;
    }
    const QString address = reply.arguments().constFirst().toString();
    if (!answersHandshake(address, kHandshakeWait)) {
        qCWarning(lcAutomation, "The accessibility bus does not answer; trying again later");
        return std::nullopt;
    }
    static std::atomic<int> serial{0};
    const QString name = QStringLiteral("kivo-a11y-%1").arg(++serial);
    QDBusConnection connection = QDBusConnection::connectToBus(address, name);
    if (!connection.isConnected()) {
        QDBusConnection::disconnectFromBus(name);
        return std::nullopt;
    }
    return connection;
}

} // namespace

// Hands the session bus's PropertiesChanged signals of the accessibility switch to a handler, on the
// thread it lives on.
class AccessibilitySwitchListener : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QString&, const QVariantMap&, const QStringList&)>;
    explicit AccessibilitySwitchListener(Handler handler) : handler_(std::move(handler)) {}

public slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& invalidated) {
        handler_(interface, changed, invalidated);
    }

private:
    Handler handler_;
};

struct LinuxAccessibilityTree::State : std::enable_shared_from_this<State> {
    std::mutex mutex; // guards everything below
    std::optional<QDBusConnection> bus;
    bool enabled = false;
    bool refreshing = false;
    bool closed = false;             // the tree is gone: a late connection is dropped
    std::condition_variable settled; // told when a refresh ends
    std::chrono::steady_clock::time_point checkedAt{};
    std::map<std::string, int> processOfName;
    bool learnt = false;         // a refresh has ended
    bool listening = false;      // the switch's change signal reaches the listener
    bool subscribing = false;    // a refresh is connecting the listener to it right now
    QObject* listener = nullptr; // none once the tree is gone
    QObject* orphan = nullptr;   // the listener, when the tree went while it was being connected
    // Switches heard or made, so that a read begun before one does not undo it.
    std::uint64_t switches = 0;
    std::map<int, std::function<void()>> observers;
    int nextObserver = 1;

    // Trusted, and settled: an untrusted answer is old until a refresh has ended, and while one is under
    // way that may change it (nothing tells of the switch, or the switch is on and the bus being connected).
    std::pair<bool, bool> answerLocked() const {
        const bool connected = bus && bus->isConnected();
        return {enabled && connected, learnt && !(refreshing && (!listening || (enabled && !connected)))};
    }
    void notifyLocked() {
        if (listener) {
            QMetaObject::invokeMethod(
                listener,
                [self = shared_from_this()] {
                    std::vector<std::function<void()>> calls;
                    {
                        std::lock_guard lock(self->mutex);
                        for (const auto& [token, observer] : self->observers) {
                            calls.push_back(observer);
                        }
                    }
                    for (const auto& call : calls) {
                        call();
                    }
                },
                Qt::QueuedConnection);
        }
    }
    // A switch heard or made counts over what a refresh under way reads. True when the bus is on and
    // still to be connected.
    bool switched(bool on) {
        std::lock_guard lock(mutex);
        const auto before = answerLocked();
        enabled = on;
        ++switches;
        if (answerLocked() != before) {
            notifyLocked();
        }
        return on && !(bus && bus->isConnected());
    }
};

LinuxAccessibilityTree::LinuxAccessibilityTree(std::unique_ptr<XcbDesktop> desktop)
    : desktop_(std::move(desktop)), state_(std::make_shared<State>()) {
    listener_ = std::make_unique<AccessibilitySwitchListener>(
        [weak = std::weak_ptr<State>(state_)](const QString& interface, const QVariantMap& changed,
                                              const QStringList& invalidated) {
            const auto state = weak.lock();
            const QString key = QStringLiteral("IsEnabled");
            if (!state || interface != QLatin1String("org.a11y.Status")) {
                return;
            }
            if (changed.contains(key) ? state->switched(changed.value(key).toBool())
                                      : invalidated.contains(key)) {
                refreshSoon(state, true);
            }
        });
    state_->listener = listener_.get();
    refreshSoon(state_, true); // connected by the time the first pass reads
}

LinuxAccessibilityTree::~LinuxAccessibilityTree() {
    {
        std::unique_lock lock(state_->mutex);
        state_->closed = true;
        state_->listener = nullptr;
        state_->observers.clear();
        // A refresh under way ends within its own bounds. Left running, it could still be inside Qt's bus
        // code while the program exits and tears that code down, which corrupts the heap.
        state_->settled.wait_for(lock, kRefreshEnd, [&] { return !state_->refreshing; });
        if (state_->subscribing) {
            state_->orphan = listener_.release(); // the refresh connecting it disposes of it
        }
        if (state_->bus) {
            QDBusConnection::disconnectFromBus(state_->bus->name());
            state_->bus.reset();
        }
    }
    listener_.reset(); // outside the lock: Qt's bus code hears of its going
}

bool LinuxAccessibilityTree::isTrustSettled() {
    std::lock_guard lock(state_->mutex);
    return state_->answerLocked().second;
}

AccessibilityTree::ObserverToken LinuxAccessibilityTree::addTrustObserver(std::function<void()> observer) {
    std::lock_guard lock(state_->mutex);
    const int token = state_->nextObserver++;
    state_->observers.emplace(token, std::move(observer));
    return token;
}

void LinuxAccessibilityTree::removeTrustObserver(ObserverToken token) {
    std::lock_guard lock(state_->mutex);
    state_->observers.erase(token);
}

bool LinuxAccessibilityTree::enableAccessibilityBus() {
    const auto reply =
        sessionStatusCall("Set", {QStringLiteral("org.a11y.Status"), QStringLiteral("IsEnabled"),
                                  QVariant::fromValue(QDBusVariant(true))});
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qCWarning(lcAutomation, "Could not turn on the accessibility bus: %s",
                  qUtf8Printable(reply.errorMessage()));
        return false;
    }
    // The switch is on now: nothing that reads it later may be told otherwise by an older read.
    if (state_->switched(true)) {
        refreshSoon(state_, true);
    }
    // GNOME keeps the switch in its settings, where applications started later look for it.
    if (qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QStringLiteral("GNOME"), Qt::CaseInsensitive)) {
        QProcess::startDetached(QStringLiteral("gsettings"),
                                {QStringLiteral("set"), QStringLiteral("org.gnome.desktop.interface"),
                                 QStringLiteral("toolkit-accessibility"), QStringLiteral("true")});
    }
    return true;
}

void LinuxAccessibilityTree::refreshSoon(const std::shared_ptr<State>& state, bool force) {
    {
        std::lock_guard lock(state->mutex);
        const auto now = std::chrono::steady_clock::now();
        if (state->refreshing || state->closed || (!force && now - state->checkedAt < kTrustRecheck)) {
            return;
        }
        state->refreshing = true;
        state->checkedAt = now;
    }
    // Detached: a handshake that never ends holds only this thread (and keeps further attempts back).
    startThread("a11y-refresh", [state] {
        refresh(state);
        state->settled.notify_all();
    }).detach();
}

void LinuxAccessibilityTree::listen(const std::shared_ptr<State>& state) {
    QObject* listener = nullptr;
    {
        std::lock_guard lock(state->mutex);
        if (state->listening || !state->listener) {
            return;
        }
        listener = state->listener;
        state->subscribing = true;
    }
    const bool heard = QDBusConnection::sessionBus().connect(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"), listener,
        SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    std::lock_guard lock(state->mutex);
    state->subscribing = false;
    state->listening = heard;
    if (state->orphan) {
        state->orphan->deleteLater();
        state->orphan = nullptr;
    }
}

void LinuxAccessibilityTree::refresh(const std::shared_ptr<State>& state) {
    // Qt's first use of the session bus connects with libdbus's 25 s handshake, which a bus that accepts
    // and never speaks would hold this thread in, inside Qt's bus machinery, until past the program's
    // exit. The session bus is asked with a bound of our own until it has answered once.
    static std::atomic<bool> sessionAnswered{false};
    std::uint64_t switches = 0;
    {
        std::lock_guard lock(state->mutex);
        if (state->closed) {
            state->refreshing = false;
            return;
        }
        switches = state->switches;
    }
    bool enabled = false;
    std::optional<QDBusConnection> fresh;
    if (sessionAnswered ||
        answersHandshake(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), kHandshakeWait)) {
        sessionAnswered = true;
        // Heard from now on: the read below sees every switch made before.
        listen(state);
        bool connected = false;
        {
            std::lock_guard lock(state->mutex);
            connected = state->bus && state->bus->isConnected();
        }
        const auto status =
            sessionStatusCall("Get", {QStringLiteral("org.a11y.Status"), QStringLiteral("IsEnabled")});
        enabled =
            !isError(status) && status.arguments().constFirst().value<QDBusVariant>().variant().toBool();
        if (!connected) {
            fresh = connectAccessibilityBus();
        }
    }
    std::lock_guard lock(state->mutex);
    const auto before = state->answerLocked();
    state->refreshing = false;
    state->learnt = true;
    if (state->switches == switches) {
        state->enabled = enabled;
    }
    if (fresh && state->closed) {
        QDBusConnection::disconnectFromBus(fresh->name());
    } else if (fresh) {
        if (state->bus) {
            QDBusConnection::disconnectFromBus(state->bus->name());
        }
        state->bus = fresh;
        state->processOfName.clear(); // names belong to the old connection's bus
    }
    if (state->answerLocked() != before) {
        state->notifyLocked();
    }
}

std::optional<QDBusConnection> LinuxAccessibilityTree::bus() {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->bus && state_->bus->isConnected()) {
            return state_->bus;
        }
    }
    refreshSoon(state_, false);
    return std::nullopt;
}

bool LinuxAccessibilityTree::isTrusted() {
    refreshSoon(state_, false);
    std::lock_guard lock(state_->mutex);
    return state_->answerLocked().first;
}

std::optional<QDBusMessage> LinuxAccessibilityTree::call(const AccessibilityElement& element,
                                                         const char* interface, const char* method,
                                                         const QList<QVariant>& arguments) {
    if (element.owner.empty() || element.path.empty()) {
        return std::nullopt;
    }
    const auto connection = bus();
    if (!connection) {
        return std::nullopt;
    }
    auto message = QDBusMessage::createMethodCall(
        QString::fromStdString(element.owner), QString::fromStdString(element.path),
        QString::fromLatin1(interface), QString::fromLatin1(method));
    message.setArguments(arguments);
    ++busCalls_;
    auto reply = connection->call(message, QDBus::Block, static_cast<int>(kCallTimeout.count()));
    if (reply.type() == QDBusMessage::ErrorMessage &&
        (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
         reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))) {
        // The application has gone: its process number may be given to another one.
        std::lock_guard lock(state_->mutex);
        state_->processOfName.erase(element.owner);
    }
    if (isError(reply)) {
        return std::nullopt;
    }
    return reply;
}

std::optional<int> LinuxAccessibilityTree::innermostProcess(int processId) {
    QFile status(QStringLiteral("/proc/%1/status").arg(processId));
    if (!status.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("NSpid:")) {
            const auto numbers = line.mid(6).simplified().split(' ');
            if (numbers.size() > 1) {
                return numbers.constLast().toInt();
            }
        }
    }
    return std::nullopt;
}

int LinuxAccessibilityTree::windowSideProcess(int busProcess) {
    // Windows are told by their X clients' processes, which the bus knows by the same numbers. Where the
    // X server cannot tell them, a browser in a PID namespace of its own (a sandbox) names its windows
    // with that namespace's number, while the bus sees the host's: such an application is matched to its
    // windows by the innermost number, when it is that number (not the host's) that owns windows.
    const auto inner = innermostProcess(busProcess);
    if (!inner || !desktop_) {
        return busProcess;
    }
    bool hostOwns = false;
    bool innerOwns = false;
    for (const xcb_window_t window : desktop_->clientList()) {
        const auto owner = desktop_->windowProcess(window);
        hostOwns = hostOwns || owner == busProcess;
        innerOwns = innerOwns || owner == *inner;
    }
    return innerOwns && !hostOwns ? *inner : busProcess;
}

std::optional<int> LinuxAccessibilityTree::processOf(const std::string& busName) {
    {
        std::lock_guard lock(state_->mutex);
        if (auto it = state_->processOfName.find(busName); it != state_->processOfName.end()) {
            return it->second;
        }
    }
    const auto reply =
        call(AccessibilityElement{"org.freedesktop.DBus", "/org/freedesktop/DBus"}, "org.freedesktop.DBus",
             "GetConnectionUnixProcessID", {QString::fromStdString(busName)});
    if (!reply) {
        return std::nullopt;
    }
    const int pid = windowSideProcess(static_cast<int>(reply->arguments().constFirst().toUInt()));
    std::lock_guard lock(state_->mutex);
    state_->processOfName[busName] = pid; // dropped when the name goes, or with a new connection
    return pid;
}

AccessibilityElement LinuxAccessibilityTree::applicationElement(int processId) {
    {
        std::lock_guard lock(state_->mutex);
        for (const auto& [name, pid] : state_->processOfName) {
            if (pid == processId) {
                return AccessibilityElement{name, kRootPath.toStdString()};
            }
        }
    }
    const auto apps = call(AccessibilityElement{kRegistry.toStdString(), kRootPath.toStdString()},
                           kAccessible, "GetChildren");
    if (apps) {
        const auto listed = references(apps->arguments().constFirst().value<QDBusArgument>());
        {
            // Applications that have left the registry are forgotten with their process numbers.
            std::lock_guard lock(state_->mutex);
            for (auto it = state_->processOfName.begin(); it != state_->processOfName.end();) {
                const bool live =
                    std::any_of(listed.begin(), listed.end(),
                                [&](const AccessibilityElement& a) { return a.owner == it->first; });
                it = live ? std::next(it) : state_->processOfName.erase(it);
            }
        }
        for (const auto& app : listed) {
            if (processOf(app.owner) == processId) {
                return AccessibilityElement{app.owner, kRootPath.toStdString()};
            }
        }
    }
    return AccessibilityElement{};
}

std::optional<std::vector<int>> LinuxAccessibilityTree::applicationProcesses() {
    const auto apps = call(AccessibilityElement{kRegistry.toStdString(), kRootPath.toStdString()},
                           kAccessible, "GetChildren");
    if (!apps) {
        return std::nullopt;
    }
    std::vector<int> processes;
    for (const auto& app : references(apps->arguments().constFirst().value<QDBusArgument>())) {
        const auto reply =
            call(AccessibilityElement{"org.freedesktop.DBus", "/org/freedesktop/DBus"},
                 "org.freedesktop.DBus", "GetConnectionUnixProcessID", {QString::fromStdString(app.owner)});
        if (reply) {
            processes.push_back(static_cast<int>(reply->arguments().constFirst().toUInt()));
        }
    }
    return processes;
}

std::optional<unsigned> LinuxAccessibilityTree::roleNumber(const AccessibilityElement& element) {
    const auto reply = call(element, kAccessible, "GetRole");
    if (!reply) {
        return std::nullopt;
    }
    return reply->arguments().constFirst().toUInt();
}

std::optional<std::string> LinuxAccessibilityTree::role(const AccessibilityElement& element) {
    const auto number = roleNumber(element);
    if (!number) {
        return std::nullopt;
    }
    switch (*number) {
    case kRoleDocumentWeb:
        return std::string(kWebAreaRole);
    case kRoleFrame:
        return std::string("AXWindow");
    case kRoleApplication:
        return std::string("AXApplication");
    default:
        return std::string("AXUnknown");
    }
}

std::optional<std::string> LinuxAccessibilityTree::url(const AccessibilityElement& element) {
    const auto reply = call(element, "org.a11y.atspi.Document", "GetAttributes");
    if (!reply) {
        return std::nullopt;
    }
    QMap<QString, QString> attributes;
    reply->arguments().constFirst().value<QDBusArgument>() >> attributes;
    // Firefox names it DocURL, Chromium URI.
    for (const char* key : {"DocURL", "URI"}) {
        const QString value = attributes.value(QString::fromLatin1(key));
        if (!value.isEmpty()) {
            return value.toStdString();
        }
    }
    return std::nullopt;
}

std::optional<std::vector<AccessibilityElement>>
LinuxAccessibilityTree::childList(const AccessibilityElement& element) {
    const auto reply = call(element, kAccessible, "GetChildren");
    if (!reply) {
        return std::nullopt;
    }
    return references(reply->arguments().constFirst().value<QDBusArgument>());
}

std::optional<std::vector<AccessibilityElement>>
LinuxAccessibilityTree::children(const AccessibilityElement& element) {
    if (element.path == kRootPath.toStdString()) {
        return childList(element);
    }
    // Below the application, only what a window embeds: the page its selected tab shows.
    auto shown = related(element, kRelationEmbeds);
    if (!shown || !shown->empty() || roleNumber(element) != kRoleFrame) {
        return shown;
    }
    // Firefox names no embedded page while the tab shows one restored from its back/forward cache (Back to
    // a page it kept): the page is then found through the selected tab.
    return selectedTabPages(element);
}

std::optional<std::vector<AccessibilityElement>>
LinuxAccessibilityTree::related(const AccessibilityElement& element, unsigned type) {
    const auto reply = call(element, kAccessible, "GetRelationSet");
    if (!reply) {
        return std::nullopt;
    }
    std::vector<AccessibilityElement> targets;
    const QDBusArgument relations = reply->arguments().constFirst().value<QDBusArgument>();
    relations.beginArray();
    while (!relations.atEnd()) {
        unsigned relation = 0;
        relations.beginStructure();
        relations >> relation;
        const QDBusArgument& listed = relations;
        auto found = references(listed);
        relations.endStructure();
        if (relation == type) {
            targets.insert(targets.end(), found.begin(), found.end());
        }
    }
    relations.endArray();
    return targets;
}

std::vector<AccessibilityElement>
LinuxAccessibilityTree::selectedTabPages(const AccessibilityElement& window) {
    // The first selected tab in tree order is the tab strip's, which comes before the pages; one inside a
    // page (a site's own tabs) is never taken for it.
    const auto tabs = matching(window, 1ull << kStateSelected, {kRolePageTab}, 1);
    if (tabs.empty() || !interfaceRoles(window, tabs.front())) {
        return {};
    }
    // The tab labels its panel, which holds the tab's browser: a frame whose document is the page. Frames
    // deeper in the panel (a page's own, a docked tool's) are not looked at.
    std::vector<AccessibilityElement> pages;
    for (const auto& panel :
         related(tabs.front(), kRelationLabelFor).value_or(std::vector<AccessibilityElement>{})) {
        for (const auto& frame : childList(panel).value_or(std::vector<AccessibilityElement>{})) {
            if (roleNumber(frame) != kRoleInternalFrame) {
                continue;
            }
            for (const auto& page : childList(frame).value_or(std::vector<AccessibilityElement>{})) {
                if (roleNumber(page) == kRoleDocumentWeb) {
                    pages.push_back(page);
                }
            }
        }
    }
    return pages;
}

std::optional<LinuxAccessibilityTree::Extents>
LinuxAccessibilityTree::extents(const AccessibilityElement& element) {
    const auto reply = call(element, "org.a11y.atspi.Component", "GetExtents", {0u}); // screen coordinates
    if (!reply) {
        return std::nullopt;
    }
    Extents e;
    const QDBusArgument box = reply->arguments().constFirst().value<QDBusArgument>();
    box.beginStructure();
    box >> e.x >> e.y >> e.width >> e.height;
    box.endStructure();
    return e;
}

std::optional<AccessibilityElement>
LinuxAccessibilityTree::focusedWindow(const AccessibilityElement& application) {
    const auto pid = processOf(application.owner);
    if (!pid || !desktop_) {
        return std::nullopt;
    }
    // The window keystrokes reach: the active one when it is the application's, else its topmost.
    xcb_window_t window = desktop_->activeWindow();
    if (desktop_->windowProcess(window) != *pid) {
        window = desktop_->topWindowOf(*pid);
    }
    const auto area = window ? desktop_->geometry(window) : std::nullopt;
    const auto frames = area ? childList(application) : std::nullopt;
    if (!frames) {
        return std::nullopt;
    }
    // Titles change with the page: the frame is told by where it is, and only windows that lie exactly
    // on each other (maximised ones) by their titles, read at the same moment.
    std::vector<AccessibilityElement> closest;
    long bestDistance = std::numeric_limits<long>::max();
    for (const auto& frame : *frames) {
        const auto e = extents(frame);
        if (!e || e->width <= 0 || e->height <= 0) {
            continue;
        }
        const long distance = std::labs(e->x - area->x) + std::labs(e->y - area->y) +
                              std::labs(e->width - area->width) + std::labs(e->height - area->height);
        if (distance < bestDistance) {
            bestDistance = distance;
            closest.clear();
        }
        if (distance == bestDistance) {
            closest.push_back(frame);
        }
    }
    // Windows lying on each other (maximised ones): the frame the browser marks active; the title, read
    // just now, only when none is. Typing proves the window again by its active state.
    if (closest.size() > 1) {
        for (const auto& frame : closest) {
            if (isActive(frame)) {
                return frame;
            }
        }
        const std::string title = desktop_->title(window);
        for (const auto& frame : closest) {
            if (name(frame) == title) {
                return frame;
            }
        }
        return std::nullopt;
    }
    if (closest.empty()) {
        return std::nullopt;
    }
    return closest.front();
}

std::optional<std::string> LinuxAccessibilityTree::name(const AccessibilityElement& element) {
    const auto reply = call(element, "org.freedesktop.DBus.Properties", "Get",
                            {QString::fromLatin1(kAccessible), QStringLiteral("Name")});
    if (!reply) {
        return std::nullopt;
    }
    return reply->arguments().constFirst().value<QDBusVariant>().variant().toString().toStdString();
}

xcb_window_t LinuxAccessibilityTree::xWindowFor(int processId, const Extents& frame,
                                                const std::optional<std::string>& frameName) {
    std::vector<xcb_window_t> closest;
    long bestDistance = std::numeric_limits<long>::max();
    for (const xcb_window_t window : desktop_->clientList()) {
        if (desktop_->windowProcess(window) != processId) {
            continue;
        }
        const auto area = desktop_->geometry(window);
        if (!area) {
            continue;
        }
        const long distance = std::labs(frame.x - area->x) + std::labs(frame.y - area->y) +
                              std::labs(frame.width - area->width) + std::labs(frame.height - area->height);
        if (distance < bestDistance) {
            bestDistance = distance;
            closest.clear();
        }
        if (distance == bestDistance) {
            closest.push_back(window);
        }
    }
    if (closest.size() > 1 && frameName) {
        for (const xcb_window_t window : closest) {
            if (desktop_->title(window) == *frameName) {
                return window;
            }
        }
    }
    return closest.empty() ? 0 : closest.front();
}

bool LinuxAccessibilityTree::raiseWindow(const AccessibilityElement& window) {
    const auto pid = processOf(window.owner);
    const auto frame = extents(window);
    if (!pid || !frame || !desktop_) {
        return false;
    }
    return desktop_->requestActivation(xWindowFor(*pid, *frame, name(window)));
}

std::optional<std::uint64_t> LinuxAccessibilityTree::states(const AccessibilityElement& element) {
    const auto reply = call(element, kAccessible, "GetState");
    if (!reply) {
        return std::nullopt;
    }
    QList<unsigned> words;
    reply->arguments().constFirst().value<QDBusArgument>() >> words;
    std::uint64_t bits = 0;
    for (int i = 0; i < words.size() && i < 2; ++i) {
        bits |= static_cast<std::uint64_t>(words[i]) << (32 * i);
    }
    return bits;
}

std::vector<xcb_window_t> LinuxAccessibilityTree::xWindowsAt(const AccessibilityElement& window) {
    const auto pid = processOf(window.owner);
    const auto frame = extents(window);
    if (!pid || !frame || !desktop_) {
        return {};
    }
    std::vector<xcb_window_t> closest;
    long bestDistance = std::numeric_limits<long>::max();
    for (const xcb_window_t candidate : desktop_->clientList()) {
        const auto area =
            desktop_->windowProcess(candidate) == *pid ? desktop_->geometry(candidate) : std::nullopt;
        if (!area) {
            continue;
        }
        const long distance = std::labs(frame->x - area->x) + std::labs(frame->y - area->y) +
                              std::labs(frame->width - area->width) + std::labs(frame->height - area->height);
        if (distance < bestDistance) {
            bestDistance = distance;
            closest.clear();
        }
        if (distance == bestDistance) {
            closest.push_back(candidate);
        }
    }
    return closest;
}

std::optional<xcb_window_t> LinuxAccessibilityTree::xWindowOf(const AccessibilityElement& window,
                                                              bool frameActive) {
    const auto closest = xWindowsAt(window);
    if (closest.size() == 1) {
        return closest.front();
    }
    if (closest.empty()) {
        return std::nullopt;
    }
    // Several lie exactly there. The active one, while the frame is marked active too.
    const xcb_window_t active = desktop_->activeWindow();
    if (frameActive && std::find(closest.begin(), closest.end(), active) != closest.end()) {
        return active;
    }
    // Else the one X window whose title is the frame's name, the name read before and after the titles
    // (a page changing its title in between leaves it untold).
    const auto before = name(window);
    std::vector<xcb_window_t> titled;
    for (const xcb_window_t candidate : closest) {
        if (before && desktop_->title(candidate) == *before) {
            titled.push_back(candidate);
        }
    }
    if (titled.size() == 1 && name(window) == before) {
        return titled.front();
    }
    return std::nullopt;
}

std::optional<WindowHandle> LinuxAccessibilityTree::windowHandle(const AccessibilityElement& window) {
    const auto bits = states(window);
    return xWindowOf(window, bits && (*bits >> kStateActive & 1u));
}

bool LinuxAccessibilityTree::isActive(const AccessibilityElement& window) {
    const auto bits = states(window);
    if (!bits) {
        return false;
    }
    if (*bits >> kStateActive & 1u) {
        return true;
    }
    // Chromium marks none of its frames active: there the X active window stands in, when it is this
    // frame's own window.
    const auto frames = childList(AccessibilityElement{window.owner, kRootPath.toStdString()});
    if (!frames) {
        return false;
    }
    for (const auto& frame : *frames) {
        if (const auto other = states(frame); other && (*other >> kStateActive & 1u)) {
            return false;
        }
    }
    const auto own = xWindowOf(window, false);
    return own && *own == desktop_->activeWindow();
}

std::optional<bool> LinuxAccessibilityTree::isLoading(const AccessibilityElement& webArea) {
    const auto bits = states(webArea);
    if (!bits) {
        return std::nullopt;
    }
    return (*bits >> kStateBusy & 1u) != 0;
}

std::vector<AccessibilityElement> LinuxAccessibilityTree::matching(const AccessibilityElement& element,
                                                                   std::uint64_t stateBits,
                                                                   const std::vector<unsigned>& roles,
                                                                   int count) {
    QList<int> roleBits{0, 0, 0, 0};
    for (const unsigned role : roles) {
        roleBits[static_cast<int>(role / 32)] |= static_cast<int>(1u << (role % 32));
    }
    QDBusArgument rule;
    rule.beginStructure();
    rule << QList<int>{static_cast<int>(stateBits & 0xffffffffu), static_cast<int>(stateBits >> 32)}
         << kCollectionMatchAll;
    rule.beginMap(QMetaType::fromType<QString>(), QMetaType::fromType<QString>());
    rule.endMap();
    rule << kCollectionMatchAll << roleBits << (roles.empty() ? kCollectionMatchAll : kCollectionMatchAny)
         << QStringList{} << kCollectionMatchAll << false;
    rule.endStructure();
    const auto reply = call(element, "org.a11y.atspi.Collection", "GetMatches",
                            {QVariant::fromValue(rule), kCollectionSortCanonical, count, true});
    if (!reply) {
        return {};
    }
    return references(reply->arguments().constFirst().value<QDBusArgument>());
}

std::optional<AccessibilityElement> LinuxAccessibilityTree::parent(const AccessibilityElement& element) {
    const auto reply = call(element, "org.freedesktop.DBus.Properties", "Get",
                            {QString::fromLatin1(kAccessible), QStringLiteral("Parent")});
    if (!reply) {
        return std::nullopt;
    }
    const QDBusArgument reference =
        reply->arguments().constFirst().value<QDBusVariant>().variant().value<QDBusArgument>();
    QString name;
    QDBusObjectPath path;
    reference.beginStructure();
    reference >> name >> path;
    reference.endStructure();
    return AccessibilityElement{name.toStdString(), path.path().toStdString()};
}

std::optional<AccessibilityElement>
LinuxAccessibilityTree::findAddressField(const AccessibilityElement& window) {
    // The first such field in tree order: the toolbar comes before the pages and panels in both browser
    // families, and searching on for more would walk every page of the window.
    const std::uint64_t wanted =
        (1ull << kStateEditable) | (1ull << kStateSingleLine) | (1ull << kStateSupportsAutocompletion);
    const auto found = matching(window, wanted, {kRoleEntry, kRoleComboBox, kRoleText}, 1);
    if (found.empty()) {
        return std::nullopt;
    }
    const auto bits = states(found.front());
    if (!bits || (*bits >> kStateReadOnly & 1u)) {
        return std::nullopt;
    }
    // In the window's own interface, and in a toolbar there.
    const auto roles = interfaceRoles(window, found.front());
    if (!roles || std::find(roles->begin(), roles->end(), kRoleToolBar) == roles->end()) {
        return std::nullopt;
    }
    return found.front();
}

std::optional<std::vector<unsigned>>
LinuxAccessibilityTree::interfaceRoles(const AccessibilityElement& window,
                                       const AccessibilityElement& element) {
    // Up to the window through no document or frame, which would make it part of a page, a docked developer
    // tool or a panel rather than the browser's own.
    std::vector<unsigned> roles;
    AccessibilityElement at = element;
    for (int depth = 0; depth < kMaxInterfaceDepth; ++depth) {
        const auto above = parent(at);
        if (!above || above->owner != window.owner) {
            return std::nullopt;
        }
        if (*above == window) {
            return roles;
        }
        const auto role = roleNumber(*above);
        if (!role || *role == kRoleDocumentFrame || *role == kRoleInternalFrame ||
            (*role >= kRoleDocumentSpreadsheet && *role <= kRoleDocumentEmail)) {
            return std::nullopt;
        }
        roles.push_back(*role);
        at = *above;
    }
    return std::nullopt;
}

std::optional<AddressField> LinuxAccessibilityTree::addressField(const AccessibilityElement& window) {
    std::optional<AccessibilityElement> field;
    {
        std::lock_guard lock(fieldMutex_);
        const auto known = std::find_if(addressFields_.begin(), addressFields_.end(),
                                        [&](const auto& entry) { return entry.first == window; });
        if (known != addressFields_.end()) {
            field = known->second;
        }
    }
    auto bits = field ? states(*field) : std::nullopt;
    if (field && (!bits || (*bits >> kStateDefunct & 1u))) {
        std::lock_guard lock(fieldMutex_);
        addressFields_.erase(std::remove_if(addressFields_.begin(), addressFields_.end(),
                                            [&](const auto& entry) { return entry.first == window; }),
                             addressFields_.end());
        field.reset();
    }
    if (!field) {
        field = findAddressField(window);
        bits = field ? states(*field) : std::nullopt;
        if (!bits) {
            return std::nullopt;
        }
        std::lock_guard lock(fieldMutex_);
        addressFields_.emplace_back(window, *field);
        if (addressFields_.size() > kRememberedFields) {
            addressFields_.erase(addressFields_.begin());
        }
    }
    if (!(*bits >> kStateEditable & 1u)) {
        return std::nullopt;
    }
    const auto text = call(*field, "org.a11y.atspi.Text", "GetText", {0, -1});
    if (!text) {
        return std::nullopt;
    }
    return AddressField{text->arguments().constFirst().toString().toStdString(),
                        (*bits >> kStateFocused & 1u) != 0};
}

bool LinuxAccessibilityTree::setBooleanAttribute(const AccessibilityElement&, const std::string&,
                                                 bool value) {
    if (!value) {
        return false;
    }
    // AT-SPI has no per-application switch: the browsers follow the bus. It is asked for each time a
    // browser comes to the front, so a bus already on is left as it is.
    {
        std::lock_guard lock(state_->mutex);
        if (state_->enabled) {
            return true;
        }
    }
    return enableAccessibilityBus();
}

} // namespace kivo

#include "LinuxAccessibilityTree.moc"
