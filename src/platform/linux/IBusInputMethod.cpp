#include "platform/linux/IBusInputMethod.h"

#include "core/Log.h"
#include "platform/linux/BusHandshake.h"
#include "platform/linux/InputMethodRecord.h"
#include "platform/linux/ProcessEnvironment.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QProcessEnvironment>
#include <QThread>
#include <QTimer>
#include <QXmlStreamReader>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <vector>

namespace kivo {
namespace {

// Each call is bounded: a stuck daemon costs Kivo this much per call, never a frozen worker.
constexpr int kCallTimeoutMs = 500;
constexpr std::chrono::milliseconds kHandshakeWait{500};
// How long a re-selected engine may take to appear and to announce its properties.
constexpr int kEngineWaitMs = 1500;
constexpr int kModeRounds = 3;

const QString kDaemon = QStringLiteral("org.freedesktop.IBus");
const QString kDaemonPath = QStringLiteral("/org/freedesktop/IBus");
const QString kEngineInterface = QStringLiteral("org.freedesktop.IBus.Engine");
const QString kEnginesPath = QStringLiteral("/org/freedesktop/IBus/Engine");
const QString kFallbackPlainEngine = QStringLiteral("xkb:us::eng");

// IBus property types.
enum PropertyType : uint { normal = 0, toggle = 1, radio = 2 };

struct Property {
    QString key;
    uint type = 0;
    uint state = 0;
    QString label;
};

QDBusMessage call(QDBusConnection& bus, const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QList<QVariant>& arguments = {}) {
    auto message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, kCallTimeoutMs);
}

bool answered(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

// The structure inside however many variants wrap it (IBus sends its objects as variants of structures).
std::optional<QDBusArgument> structureIn(QVariant value) {
    for (int depth = 0; depth < 8; ++depth) {
        if (value.userType() == qMetaTypeId<QDBusVariant>()) {
            value = qvariant_cast<QDBusVariant>(value).variant();
        } else if (value.userType() == qMetaTypeId<QDBusArgument>()) {
            const auto argument = qvariant_cast<QDBusArgument>(value);
            if (argument.currentType() != QDBusArgument::VariantType) {
                return argument.currentType() == QDBusArgument::StructureType ? std::optional(argument)
                                                                              : std::nullopt;
            }
            QDBusVariant inner;
            argument >> inner;
            value = inner.variant();
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// An IBus serialized object starts with its type name and its attachments.
bool enterObject(const QDBusArgument& argument, const char* type) {
    argument.beginStructure();
    QString name;
    argument >> name;
    QVariantMap attachments;
    argument >> attachments;
    return name == QLatin1String(type);
}

// The first string of a serialized IBus object of `type`: an IBusText's text, an IBusEngineDesc's name.
QString firstString(const QVariant& value, const char* type) {
    const auto argument = structureIn(value);
    if (!argument || !enterObject(*argument, type)) {
        return {};
    }
    QString text;
    *argument >> text;
    return text;
}

QString textOf(const QVariant& value) {
    return firstString(value, "IBusText");
}

void readProperties(const QVariant& value, std::vector<Property>& out, int depth = 0);

void readProperty(const QVariant& value, std::vector<Property>& out, int depth) {
    const auto argument = structureIn(value);
    if (!argument || !enterObject(*argument, "IBusProperty")) {
        return;
    }
    Property property;
    QDBusVariant label;
    QString icon;
    QDBusVariant tooltip;
    bool sensitive = false;
    bool visible = false;
    QDBusVariant children;
    *argument >> property.key >> property.type >> label >> icon >> tooltip >> sensitive >> visible >>
        property.state >> children;
    property.label = textOf(label.variant());
    out.push_back(property);
    readProperties(children.variant(), out, depth + 1);
}

// Every property of a list, its menus' items included, in order.
void readProperties(const QVariant& value, std::vector<Property>& out, int depth) {
    const auto argument = structureIn(value);
    if (depth > 4 || !argument || !enterObject(*argument, "IBusPropList")) {
        return;
    }
    argument->beginArray();
    while (!argument->atEnd()) {
        QDBusVariant item;
        *argument >> item;
        readProperty(item.variant(), out, depth);
    }
    argument->endArray();
}

QString engineName(const QVariant& description) {
    return firstString(description, "IBusEngineDesc");
}

QVariant daemonProperty(QDBusConnection& bus, const char* name, bool& ok) {
    const auto reply = call(bus, kDaemon, kDaemonPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                            QStringLiteral("Get"), {kDaemon, QString::fromLatin1(name)});
    ok = answered(reply) && !reply.arguments().isEmpty();
    return ok ? reply.arguments().constFirst() : QVariant();
}

// The global engine's name; empty when there is none, none when the daemon did not answer.
std::optional<QString> globalEngine(QDBusConnection& bus) {
    bool ok = false;
    const QVariant value = daemonProperty(bus, "GlobalEngine", ok);
    if (!ok) {
        // The daemon answers an error while no engine has been chosen yet.
        return QStringList{QStringLiteral("No global engine."), QString()}.contains(bus.lastError().message())
                   ? std::optional<QString>(QString())
                   : std::nullopt;
    }
    return engineName(value);
}

bool isKeyboardEngine(const QString& engine) {
    return engine.startsWith(QLatin1String("xkb:"));
}

// The keyboard engine of the user's layout: the first one among the engines the user chose, else US.
QString plainEngine(QDBusConnection& bus) {
    bool ok = false;
    const QVariant value = daemonProperty(bus, "ActiveEngines", ok);
    if (ok) {
        QVariant list = value;
        if (list.userType() == qMetaTypeId<QDBusVariant>()) {
            list = qvariant_cast<QDBusVariant>(list).variant();
        }
        if (list.userType() == qMetaTypeId<QDBusArgument>()) {
            const auto engines = qvariant_cast<QDBusArgument>(list);
            engines.beginArray();
            QString found;
            while (!engines.atEnd()) {
                QDBusVariant item;
                engines >> item;
                const QString name = engineName(item.variant());
                if (found.isEmpty() && isKeyboardEngine(name)) {
                    found = name;
                }
            }
            engines.endArray();
            if (!found.isEmpty()) {
                return found;
            }
        }
    }
    return kFallbackPlainEngine;
}

bool setGlobalEngine(QDBusConnection& bus, const QString& engine) {
    // Starting an engine's program may take longer than a call: the engine is read back below.
    call(bus, kDaemon, kDaemonPath, kDaemon, QStringLiteral("SetGlobalEngine"), {engine});
    QElapsedTimer waited;
    waited.start();
    while (true) {
        if (globalEngine(bus) == engine) {
            return true;
        }
        if (waited.elapsed() > kEngineWaitMs) {
            return false;
        }
        QThread::msleep(20);
    }
}

// The engine objects on the bus: (owner, path). With a global engine there is one; another one (an
// engine left in a context of its own) makes the answer ambiguous, and none is returned.
std::optional<std::pair<QString, QString>> engineObject(QDBusConnection& bus) {
    const auto names =
        call(bus, QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
             QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    if (!answered(names) || names.arguments().isEmpty()) {
        return std::nullopt;
    }
    std::vector<std::pair<QString, QString>> found;
    for (const QString& name : names.arguments().constFirst().toStringList()) {
        if (name.startsWith(QLatin1Char(':')) || name == kDaemon ||
            name == QLatin1String("org.freedesktop.DBus") ||
            name.startsWith(QLatin1String("org.freedesktop.IBus.Config")) ||
            name.startsWith(QLatin1String("org.freedesktop.IBus.Panel"))) {
            continue;
        }
        const auto xml = call(bus, name, kEnginesPath, QStringLiteral("org.freedesktop.DBus.Introspectable"),
                              QStringLiteral("Introspect"));
        if (!answered(xml) || xml.arguments().isEmpty()) {
            continue;
        }
        QXmlStreamReader reader(xml.arguments().constFirst().toString());
        int depth = 0;
        while (!reader.atEnd()) {
            const auto token = reader.readNext();
            if (token == QXmlStreamReader::StartElement && reader.name() == QLatin1String("node")) {
                if (++depth == 2) {
                    found.emplace_back(name, kEnginesPath + QLatin1Char('/') +
                                                 reader.attributes().value(QLatin1String("name")).toString());
                }
            } else if (token == QXmlStreamReader::EndElement && reader.name() == QLatin1String("node")) {
                --depth;
            }
        }
    }
    return found.size() == 1 ? std::optional(found.front()) : std::nullopt;
}

} // namespace

// Takes the properties an engine announces, on the thread that waits for them.
class IBusPropertyListener : public QObject {
    Q_OBJECT
public:
    std::optional<std::vector<Property>> properties;
    QEventLoop loop;

public slots:
    void registered(const QDBusMessage& message) {
        if (message.arguments().isEmpty()) {
            return;
        }
        std::vector<Property> read;
        readProperties(message.arguments().constFirst(), read);
        properties = std::move(read);
        loop.quit();
    }
};

namespace {

// The properties of the engine object, as it announces them when told it has the focus (it already has:
// the call changes nothing else). None when it does not announce them.
std::optional<std::vector<Property>> engineProperties(QDBusConnection& bus,
                                                      const std::pair<QString, QString>& engine) {
    IBusPropertyListener listener;
    if (!bus.connect(QString(), engine.second, kEngineInterface, QStringLiteral("RegisterProperties"),
                     &listener, SLOT(registered(QDBusMessage)))) {
        return std::nullopt;
    }
    if (answered(call(bus, engine.first, engine.second, kEngineInterface, QStringLiteral("FocusIn")))) {
        QTimer::singleShot(kCallTimeoutMs, &listener.loop, &QEventLoop::quit);
        if (!listener.properties) {
            listener.loop.exec();
        }
    }
    bus.disconnect(QString(), engine.second, kEngineInterface, QStringLiteral("RegisterProperties"),
                   &listener, SLOT(registered(QDBusMessage)));
    return listener.properties;
}

// What keeps a mode: toggles and radio items by their state, buttons (a mode switch that shows the mode in
// its label) by their label.
bool keepsMode(const Property& property) {
    return property.type == toggle || property.type == radio ||
           (property.type == normal && !property.label.isEmpty());
}

QJsonArray toJson(const std::vector<Property>& properties) {
    QJsonArray out;
    for (const auto& property : properties) {
        if (keepsMode(property)) {
            out.append(QJsonObject{{QStringLiteral("key"), property.key},
                                   {QStringLiteral("type"), static_cast<int>(property.type)},
                                   {QStringLiteral("state"), static_cast<int>(property.state)},
                                   {QStringLiteral("label"), property.label}});
        }
    }
    return out;
}

// The activations that move the engine from `now` to the mode kept in `wanted`; none when it is there.
std::vector<std::pair<QString, uint>> stepsToMode(const QJsonArray& wanted,
                                                  const std::vector<Property>& now) {
    std::vector<std::pair<QString, uint>> steps;
    for (const auto& value : wanted) {
        const QJsonObject kept = value.toObject();
        const QString key = kept.value(QStringLiteral("key")).toString();
        const auto type = static_cast<uint>(kept.value(QStringLiteral("type")).toInt());
        const auto state = static_cast<uint>(kept.value(QStringLiteral("state")).toInt());
        const auto current =
            std::find_if(now.begin(), now.end(), [&](const Property& p) { return p.key == key; });
        if (current == now.end() || current->type != type) {
            continue; // the engine no longer has it: nothing to set
        }
        if (type == normal) {
            if (current->label != kept.value(QStringLiteral("label")).toString()) {
                steps.emplace_back(key, 0);
            }
        } else if (current->state != state && (type == toggle || state == 1)) {
            // A radio item is set by choosing the one that was chosen; the others follow.
            steps.emplace_back(key, state);
        }
    }
    return steps;
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.read(4096)).trimmed() : QString();
}

QString machineId() {
    const QString id = readText(QStringLiteral("/var/lib/dbus/machine-id"));
    return id.isEmpty() ? readText(QStringLiteral("/etc/machine-id")) : id;
}

bool processRuns(int processId) {
    return processId > 0 && (::kill(processId, 0) == 0 || errno == EPERM);
}

} // namespace

IBusInputMethod::IBusInputMethod(std::shared_ptr<InputMethodRecord> record) : record_(std::move(record)) {
    static std::atomic<int> serial{0};
    connectionName_ = QStringLiteral("kivo-ibus-%1").arg(++serial);
}

IBusInputMethod::~IBusInputMethod() {
    QDBusConnection::disconnectFromBus(connectionName_);
}

namespace {

// What the address file for the environment's display says: the address and the daemon's process.
std::optional<std::pair<QString, int>> addressFile(const std::map<std::string, std::string>& environment,
                                                   const QString& machineId) {
    const auto value = [&](const char* name) {
        const auto it = environment.find(name);
        return it == environment.end() ? QString() : QString::fromStdString(it->second);
    };
    // As IBus names the file: "<machine id>-<host or unix>-<display number>" (or the Wayland display).
    QString display = value("DISPLAY");
    QString host = QStringLiteral("unix");
    if (!display.isEmpty()) {
        const int colon = display.lastIndexOf(QLatin1Char(':'));
        if (colon > 0) {
            host = display.left(colon);
        }
        display = display.mid(colon + 1).section(QLatin1Char('.'), 0, 0);
    } else {
        display = value("WAYLAND_DISPLAY");
    }
    QString config = value("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) {
        config = value("HOME") + QStringLiteral("/.config");
    }
    if (display.isEmpty() || machineId.isEmpty() || !QDir::isAbsolutePath(config)) {
        return std::nullopt;
    }
    QFile file(config + QStringLiteral("/ibus/bus/") + machineId + QLatin1Char('-') + host +
               QLatin1Char('-') + display);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QString address;
    int daemon = 0;
    for (const QByteArray& line : file.read(64 * 1024).split('\n')) {
        if (line.startsWith("IBUS_ADDRESS=")) {
            address = QString::fromUtf8(line.mid(13)).trimmed();
        } else if (line.startsWith("IBUS_DAEMON_PID=")) {
            daemon = line.mid(16).trimmed().toInt();
        }
    }
    // A daemon that stopped leaves its file behind.
    return address.isEmpty() || !processRuns(daemon) ? std::nullopt
                                                     : std::optional(std::pair(address, daemon));
}

} // namespace

std::optional<QString> IBusInputMethod::busAddress(const std::map<std::string, std::string>& environment,
                                                   const QString& machineId) {
    const auto it = environment.find("IBUS_ADDRESS");
    if (it != environment.end() && !it->second.empty()) {
        return QString::fromStdString(it->second);
    }
    const auto file = addressFile(environment, machineId);
    return file ? std::optional(file->first) : std::nullopt;
}

std::string IBusInputMethod::daemonProgram(const std::map<std::string, std::string>& environment) {
    const auto file = addressFile(environment, machineId());
    return file ? readText(QStringLiteral("/proc/%1/comm").arg(file->second)).toStdString() : std::string();
}

std::optional<QDBusConnection> IBusInputMethod::connect(const QString& address) {
    if (connectedAddress_ == address) {
        QDBusConnection bus(connectionName_);
        if (bus.isConnected()) {
            return bus;
        }
    }
    QDBusConnection::disconnectFromBus(connectionName_);
    connectedAddress_.clear();
    if (!answersHandshake(address, kHandshakeWait)) {
        return std::nullopt;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(address, connectionName_);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(connectionName_);
        return std::nullopt;
    }
    connectedAddress_ = address;
    return bus;
}

PlainTyping IBusInputMethod::typePlain(int processId, WindowHandle) {
    const std::lock_guard lock(mutex_);
    std::map<std::string, std::string> environment;
    if (const auto read = processEnvironment(processId)) {
        environment = *read;
    } else {
        for (const QString& entry : QProcessEnvironment::systemEnvironment().toStringList()) {
            const int equals = entry.indexOf(QLatin1Char('='));
            environment.emplace(entry.left(equals).toStdString(), entry.mid(equals + 1).toStdString());
        }
    }
    const auto address = busAddress(environment, machineId());
    if (!address) {
        return {};
    }
    auto bus = connect(*address);
    const auto engine = bus ? globalEngine(*bus) : std::nullopt;
    if (!engine) {
        return {PlainTyping::Kind::unusable, "input method does not answer"};
    }
    if (engine->isEmpty() || isKeyboardEngine(*engine)) {
        return {PlainTyping::Kind::plain, {}};
    }
    const QString plain = plainEngine(*bus);
    std::optional<std::vector<Property>> mode;
    if (const auto object = engineObject(*bus)) {
        mode = engineProperties(*bus, *object);
    }
    if (!mode) {
        qCWarning(lcAutomation, "the IBus engine's mode could not be read: only the engine is given back");
    }
    QJsonObject record{{QStringLiteral("framework"), name()},
                       {QStringLiteral("address"), *address},
                       {QStringLiteral("engine"), *engine},
                       {QStringLiteral("plain"), plain},
                       {QStringLiteral("mode"), mode ? toJson(*mode) : QJsonArray()}};
    if (!record_->save(record)) {
        return {PlainTyping::Kind::unusable, "input method state could not be saved"};
    }
    if (!setGlobalEngine(*bus, plain)) {
        if (giveBack(*bus, record)) {
            record_->clear();
        }
        return {PlainTyping::Kind::unusable, "engine switch not read back"};
    }
    switched_ = record;
    return {PlainTyping::Kind::switched, {}};
}

bool IBusInputMethod::giveBack(QDBusConnection& bus, const QJsonObject& record) {
    const QString engine = record.value(QStringLiteral("engine")).toString();
    if (!setGlobalEngine(bus, engine)) {
        qCWarning(lcAutomation, "the user's IBus engine could not be selected again");
        return false;
    }
    const QJsonArray mode = record.value(QStringLiteral("mode")).toArray();
    if (mode.isEmpty()) {
        return true;
    }
    // The engine object comes once the daemon has started it for the focused field.
    for (int round = 0; round <= kModeRounds; ++round) {
        std::optional<std::pair<QString, QString>> object;
        std::optional<std::vector<Property>> now;
        QElapsedTimer waited;
        waited.start();
        while (!now && waited.elapsed() < kEngineWaitMs) {
            object = engineObject(bus);
            if (object) {
                now = engineProperties(bus, *object);
            } else {
                QThread::msleep(20);
            }
        }
        if (!now) {
            break;
        }
        const auto steps = stepsToMode(mode, *now);
        if (steps.empty()) {
            return true;
        }
        if (round == kModeRounds) {
            break;
        }
        for (const auto& [key, state] : steps) {
            qCDebug(lcAutomation, "IBus mode: activating %s (%u)", qUtf8Printable(key), state);
            call(bus, object->first, object->second, kEngineInterface, QStringLiteral("PropertyActivate"),
                 {key, state});
        }
    }
    // The engine is back; only its mode is not, and nothing more can be done about it later either.
    qCWarning(lcAutomation, "the IBus engine's mode could not be set back");
    return true;
}

bool IBusInputMethod::restore() {
    const std::lock_guard lock(mutex_);
    if (!switched_) {
        return true;
    }
    const QJsonObject record = *std::exchange(switched_, std::nullopt);
    auto bus = connect(record.value(QStringLiteral("address")).toString());
    return bus && giveBack(*bus, record);
}

void IBusInputMethod::recover(const QJsonObject& record) {
    const std::lock_guard lock(mutex_);
    auto bus = connect(record.value(QStringLiteral("address")).toString());
    // The daemon is gone (a new session), or the user has chosen another engine since: nothing is Kivo's.
    if (!bus || globalEngine(*bus) != record.value(QStringLiteral("plain")).toString()) {
        return;
    }
    giveBack(*bus, record);
}

} // namespace kivo

#include "IBusInputMethod.moc"
