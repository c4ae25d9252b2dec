#include "platform/linux/FcitxInputMethod.h"

#include "core/Log.h"
#include "platform/linux/InputMethodRecord.h"
#include "platform/linux/ProcessEnvironment.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <vector>

namespace kivo {

namespace {

// A stuck daemon must not hold the typing for long: every call is bounded.
constexpr int kCallTimeoutMs = 500;
// The browser's module tells Fcitx of the field's focus on its own, a moment after the field has it (a
// few milliseconds); where it has not by then, the redirect puts the focus into the field once more.
constexpr auto kFocusWait = std::chrono::milliseconds(300);

const QString kService = QStringLiteral("org.fcitx.Fcitx5");

bool isKeyboard(const QString& engine) {
    return engine.startsWith(QStringLiteral("keyboard-"));
}

// The input contexts Fcitx knows, from its debug dump: their ids, and the focused one's.
struct Contexts {
    std::vector<QString> ids;
    QString focused;
    bool has(const QString& id) const { return std::find(ids.begin(), ids.end(), id) != ids.end(); }
};

QVariant unwrapped(const QVariant& value) {
    return value.userType() == qMetaTypeId<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
}

QVariantMap mapOf(const QVariant& value) {
    const QVariant inner = unwrapped(value);
    return inner.userType() == qMetaTypeId<QDBusArgument>()
               ? qdbus_cast<QVariantMap>(inner.value<QDBusArgument>())
               : inner.toMap();
}

class Controller {
public:
    explicit Controller(QDBusConnection bus) : bus_(std::move(bus)) {}

    // True or false when the bus answered; none when it did not.
    std::optional<bool> running() {
        auto message = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
        message << kService;
        const auto reply = bus_.call(message, QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            return std::nullopt;
        }
        return reply.arguments().constFirst().toBool();
    }

    std::optional<QVariantList> call(const QString& method, const QVariantList& arguments = {}) {
        auto message = QDBusMessage::createMethodCall(kService, QStringLiteral("/controller"),
                                                      QStringLiteral("org.fcitx.Fcitx.Controller1"), method);
        message.setArguments(arguments);
        // A call must never start an input method the user does not run.
        message.setAutoStartService(false);
        const auto reply = bus_.call(message, QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            return std::nullopt;
        }
        return reply.arguments();
    }

    bool send(const QString& method, const QVariantList& arguments = {}) {
        return call(method, arguments).has_value();
    }

    std::optional<QString> text(const QString& method, const QVariantList& arguments = {}) {
        const auto reply = call(method, arguments);
        if (!reply || reply->isEmpty()) {
            return std::nullopt;
        }
        return reply->constFirst().toString();
    }

    // 1 inactive, 2 active; 0 when Fcitx has no input context at all.
    std::optional<int> state() {
        const auto reply = call(QStringLiteral("State"));
        if (!reply || reply->isEmpty()) {
            return std::nullopt;
        }
        return reply->constFirst().toInt();
    }

    std::optional<QString> engine() { return text(QStringLiteral("CurrentInputMethod")); }

    // The engines of a group, in its order.
    std::optional<std::vector<QString>> engines(const QString& group) {
        const auto reply = call(QStringLiteral("InputMethodGroupInfo"), {group});
        if (!reply || reply->size() < 2) {
            return std::nullopt;
        }
        std::vector<QString> names;
        const auto items = reply->at(1).value<QDBusArgument>();
        items.beginArray();
        while (!items.atEnd()) {
            QString name;
            QString layout;
            items.beginStructure();
            items >> name >> layout;
            items.endStructure();
            names.push_back(name);
        }
        items.endArray();
        return names;
    }

    // Whether all input contexts share one state (Fcitx's "ShareInputState=All"): then any of them
    // carries it.
    bool sharesState() {
        const auto reply = call(QStringLiteral("GetConfig"), {QStringLiteral("fcitx://config/global")});
        if (!reply || reply->isEmpty()) {
            return false;
        }
        const auto behavior = mapOf(mapOf(reply->constFirst()).value(QStringLiteral("Behavior")));
        return unwrapped(behavior.value(QStringLiteral("ShareInputState"))).toString() ==
               QStringLiteral("All");
    }

    // None where this Fcitx has no debug dump: its input contexts cannot then be told apart.
    std::optional<Contexts> contexts() {
        const auto dump = text(QStringLiteral("DebugInfo"));
        if (!dump) {
            return std::nullopt;
        }
        static const QRegularExpression line(QStringLiteral(R"(IC \[([0-9a-fA-F]+)\][^\n]*focus:(\d))"));
        Contexts found;
        for (auto it = line.globalMatch(*dump); it.hasNext();) {
            const auto match = it.next();
            found.ids.push_back(match.captured(1));
            if (match.captured(2) != QStringLiteral("0")) {
                found.focused = match.captured(1);
            }
        }
        return found;
    }

private:
    QDBusConnection bus_;
};

QJsonObject toJson(const FcitxInputMethod::Switch& change) {
    return {{QStringLiteral("framework"), QStringLiteral("fcitx5")},
            {QStringLiteral("bus"), change.bus},
            {QStringLiteral("context"), change.context},
            {QStringLiteral("shared"), change.shared},
            {QStringLiteral("engine"), change.engine},
            {QStringLiteral("active"), change.active},
            {QStringLiteral("plain"), change.plain},
            {QStringLiteral("selected"), change.selected}};
}

FcitxInputMethod::Switch fromJson(const QJsonObject& record) {
    FcitxInputMethod::Switch change;
    change.bus = record.value(QStringLiteral("bus")).toString();
    change.context = record.value(QStringLiteral("context")).toString();
    change.shared = record.value(QStringLiteral("shared")).toBool();
    change.engine = record.value(QStringLiteral("engine")).toString();
    change.active = record.value(QStringLiteral("active")).toBool();
    change.plain = record.value(QStringLiteral("plain")).toString();
    change.selected = record.value(QStringLiteral("selected")).toBool();
    return change;
}

} // namespace

FcitxInputMethod::FcitxInputMethod(std::shared_ptr<InputMethodRecord> record) : record_(std::move(record)) {}

FcitxInputMethod::~FcitxInputMethod() {
    for (const auto& [address, name] : connections_) {
        QDBusConnection::disconnectFromBus(name);
    }
}

std::optional<QDBusConnection> FcitxInputMethod::connect(const QString& address) {
    if (address.isEmpty() || address == qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS")) {
        auto bus = QDBusConnection::sessionBus();
        return bus.isConnected() ? std::optional(bus) : std::nullopt;
    }
    auto& name = connections_[address];
    if (name.isEmpty()) {
        // Connection names are the process's: another instance's are not this one's to reuse or close.
        static std::atomic<int> serial{0};
        name = QStringLiteral("kivo-fcitx-%1").arg(++serial);
    }
    // The same name hands back the connection made before while it holds.
    auto bus = QDBusConnection::connectToBus(address, name);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(name);
        return std::nullopt;
    }
    return bus;
}

PlainTyping FcitxInputMethod::typePlain(int processId, WindowHandle) {
    const std::lock_guard lock(mutex_);
    const auto environment = processEnvironment(processId);
    QString address;
    if (environment) {
        const auto it = environment->find("DBUS_SESSION_BUS_ADDRESS");
        if (it != environment->end()) {
            address = QString::fromStdString(it->second);
        }
    }
    const auto bus = connect(address);
    if (!bus) {
        // No bus the browser could reach Fcitx on either.
        return {};
    }
    Controller controller(*bus);
    const auto running = controller.running();
    if (!running) {
        return {PlainTyping::Kind::unusable, "session bus did not answer"};
    }
    if (!*running) {
        return {};
    }

    Switch change;
    change.bus = address;
    // The controller acts on the context that had the focus last: wait for the field's to be that one.
    std::optional<Contexts> contexts;
    const auto deadline = std::chrono::steady_clock::now() + kFocusWait;
    while ((contexts = controller.contexts()) && contexts->focused.isEmpty() &&
           std::chrono::steady_clock::now() < deadline) {
        QThread::msleep(20);
    }
    if (contexts) {
        change.context = contexts->focused;
    }

    const auto state = controller.state();
    const auto engine = controller.engine();
    if (!state || !engine) {
        return {PlainTyping::Kind::unusable, "input method controller did not answer"};
    }
    if (isKeyboard(*engine)) {
        // Also where the field's context is not found (Chromium's module may tell Fcitx nothing): with
        // a keyboard engine nothing would be converted, so the keys go one at a time.
        return {PlainTyping::Kind::plain, {}};
    }
    if (*state == 0 || (contexts && contexts->focused.isEmpty())) {
        return {PlainTyping::Kind::unfocused, "no focused input context"};
    }
    change.engine = *engine;
    change.active = *state == 2;
    change.shared = controller.sharesState();

    const auto group = controller.text(QStringLiteral("CurrentInputMethodGroup"));
    const auto engines = group ? controller.engines(*group) : std::nullopt;
    if (!engines) {
        return {PlainTyping::Kind::unusable, "input method group not read"};
    }
    if (change.active && !engines->empty() && isKeyboard(engines->front())) {
        change.plain = engines->front();
    } else {
        const auto keyboard = std::find_if(engines->begin(), engines->end(), isKeyboard);
        if (keyboard == engines->end()) {
            return {PlainTyping::Kind::unusable, "no keyboard engine in the input method group"};
        }
        change.plain = *keyboard;
        change.selected = true;
    }

    if (!record_->save(toJson(change))) {
        return {PlainTyping::Kind::unusable, "input method record not saved"};
    }
    const bool sent = change.selected ? controller.send(QStringLiteral("SetCurrentIM"), {change.plain})
                                      : controller.send(QStringLiteral("Deactivate"));
    const auto now = controller.engine();
    const auto after = controller.contexts();
    const bool held = sent && now == change.plain && (!after || after->focused == change.context);
    if (!held) {
        if (putBack(change, false) != PutBack::failed) {
            record_->clear();
        }
        return {PlainTyping::Kind::unusable, "keyboard engine not read back"};
    }
    switched_ = change;
    return {PlainTyping::Kind::switched, {}};
}

FcitxInputMethod::PutBack FcitxInputMethod::putBack(const Switch& change, bool leftover) {
    const auto bus = connect(change.bus);
    if (!bus) {
        qCWarning(lcAutomation, "the input method's session bus is gone; nothing to put back");
        return PutBack::movedOn;
    }
    Controller controller(*bus);
    if (!change.context.isEmpty() && !change.shared) {
        const auto contexts = controller.contexts();
        if (!contexts) {
            return PutBack::failed;
        }
        if (!contexts->has(change.context)) {
            // Its state went with it.
            qCInfo(lcAutomation, "the input context Kivo switched is gone");
            return PutBack::movedOn;
        }
        // The controller reaches only the context focused last: another one focused since is not it. A
        // leftover is put back only where it has the focus again.
        const bool elsewhere = leftover ? contexts->focused != change.context
                                        : !contexts->focused.isEmpty() && contexts->focused != change.context;
        if (elsewhere) {
            qCWarning(lcAutomation, "the input context Kivo switched does not have the focus");
            return PutBack::failed;
        }
    }
    if (controller.engine() != change.plain) {
        qCInfo(lcAutomation, "the input method was changed since Kivo switched it; left as it is");
        return PutBack::movedOn;
    }
    if (!change.selected) {
        controller.send(QStringLiteral("Activate"));
    }
    if (change.selected || controller.engine() != change.engine) {
        controller.send(QStringLiteral("SetCurrentIM"), {change.engine});
    }
    const auto state = controller.state();
    if (controller.engine() != change.engine || !state || (*state == 2) != change.active) {
        qCWarning(lcAutomation, "the user's input method was not read back after Kivo's typing");
        return PutBack::failed;
    }
    return PutBack::done;
}

bool FcitxInputMethod::restore() {
    const std::lock_guard lock(mutex_);
    if (!switched_) {
        return true;
    }
    const Switch change = *std::exchange(switched_, std::nullopt);
    return putBack(change, false) != PutBack::failed;
}

void FcitxInputMethod::recover(const QJsonObject& record) {
    const std::lock_guard lock(mutex_);
    const Switch change = fromJson(record);
    if (change.engine.isEmpty() || change.plain.isEmpty()) {
        return;
    }
    putBack(change, true);
}

} // namespace kivo
