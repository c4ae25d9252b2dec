#pragma once

// What the tests with real input methods share: a daemon of the framework on the test desktop, with a
// home of its own, the browsers started with the framework's module as a session starts them, and the
// proof of an engine's mode by typing into a page field.
#include "RealDesktop.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace kivo::test {

// Mozc refuses to run as root: where the tests run as root, ctest runs them as a user of their own
// (tests/integration/as-input-method-user).
inline bool runsAsRoot() {
    return ::geteuid() == 0;
}

// An engine in one of its modes, and what proves that mode: `keys` typed (xdotool key names, one by one)
// into a page field make it hold `shows`.
struct EngineMode {
    const char* name;
    std::string engine;
    // How the user puts the engine in the mode: through IBus, the panel's properties activated with a
    // state, in order; through Fcitx, keys pressed (the state unused).
    std::vector<std::pair<std::string, unsigned>> activate;
    std::vector<std::string> keys;
    std::string shows;
};

// The variables a session sets for its programs' keys to go through input method `name`.
inline QProcessEnvironment moduleFor(const QString& name) {
    QProcessEnvironment module;
    module.insert("GTK_IM_MODULE", name);
    module.insert("XMODIFIERS", "@im=" + name);
    module.insert("QT_IM_MODULE", name);
    return module;
}

// An input method daemon on the test desktop: its own configuration and cache under `home`, and the
// session's buses and display. It stops with the test program (or when dropped).
class InputMethodDaemon {
public:
    virtual ~InputMethodDaemon() {
        if (process_) {
            process_->kill();
            process_->waitForFinished(5000);
        }
        // Mozc's server, started for this configuration, outlives the input method.
        for (const auto& entry : QDir("/proc").entryList(QDir::Dirs)) {
            QFile environ("/proc/" + entry + "/environ");
            if (QFile::symLinkTarget("/proc/" + entry + "/exe").endsWith("/mozc_server") &&
                environ.open(QIODevice::ReadOnly) &&
                environ.readAll().contains("XDG_CONFIG_HOME=" + (home_ + "/config").toLocal8Bit() + '\0')) {
                ::kill(entry.toInt(), SIGTERM);
            }
        }
        for (const auto& [name, value] : previous_) {
            if (value.isNull()) {
                qunsetenv(name);
            } else {
                qputenv(name, value);
            }
        }
    }
    // The environment a browser of a session with this input method starts with.
    QProcessEnvironment browserEnvironment() const {
        auto browser = environment();
        for (const QString& name : module_.keys()) {
            browser.insert(name, module_.value(name));
        }
        return browser;
    }
    // The engine the keys go through now, as the framework tells it.
    virtual std::string engine() = 0;
    // Switches to `mode`'s engine and mode as the user would; false when it does not read back.
    virtual bool select(const EngineMode& mode) = 0;

protected:
    // The session's programs share its environment: Kivo's own stands in for a browser's that cannot be
    // read (Chromium writes its title over it).
    InputMethodDaemon(const QString& home, const QProcessEnvironment& module) : home_(home), module_(module) {
        auto session = module;
        session.insert("XDG_CONFIG_HOME", home + "/config");
        for (const QString& name : session.keys()) {
            const QByteArray key = name.toLocal8Bit();
            previous_.emplace_back(key, qgetenv(key.constData()));
            qputenv(key.constData(), session.value(name).toLocal8Bit());
        }
    }
    QProcessEnvironment environment() const {
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", home_ + "/config");
        environment.insert("XDG_CACHE_HOME", home_ + "/cache");
        environment.insert("XDG_DATA_HOME", home_ + "/data");
        return environment;
    }
    QString run(const QString& program, const QStringList& arguments) const {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(program, arguments);
        process.waitForFinished(10000);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }
    QString home_;
    QProcessEnvironment module_;
    std::unique_ptr<QProcess> process_;
    std::vector<std::pair<QByteArray, QByteArray>> previous_;
};

// ibus-daemon as a session starts it, without the panel (the tests play the panel's part through the
// engine's properties) and with an in-memory configuration.
class IBusDaemon final : public InputMethodDaemon {
public:
    static constexpr const char* kName = "ibus";
    explicit IBusDaemon(const QString& home) : InputMethodDaemon(home, module()) {
        process_ = std::make_unique<QProcess>();
        process_->setProcessEnvironment(environment());
        process_->setStandardOutputFile(home + "/ibus-daemon.log");
        process_->setStandardErrorFile(home + "/ibus-daemon.log");
        process_->start("ibus-daemon", {"--panel=disable", "--emoji-extension=disable", "--replace",
                                        "--config=/usr/libexec/ibus-memconf"});
        ready_ = waitUntil([&] { return !address().isEmpty() && bus().isConnected(); }, kDeadline);
    }
    ~IBusDaemon() override { QDBusConnection::disconnectFromBus("kivo-test-ibus"); }
    bool ready() const { return ready_; }
    static QProcessEnvironment module() { return moduleFor("ibus"); }
    std::string engine() override { return run("ibus", {"engine"}).toStdString(); }
    bool select(const EngineMode& mode) override {
        run("ibus", {"engine", QString::fromStdString(mode.engine)});
        if (!waitUntil([&] { return engine() == mode.engine; }, kDeadline)) {
            return false;
        }
        for (const auto& [key, state] : mode.activate) {
            if (!activate(key, state)) {
                return false;
            }
        }
        return true;
    }

private:
    QString address() const {
        const QString machine =
            QFile::exists("/var/lib/dbus/machine-id") ? "/var/lib/dbus/machine-id" : "/etc/machine-id";
        QFile id(machine);
        id.open(QIODevice::ReadOnly);
        const QString display = qEnvironmentVariable("DISPLAY").section(':', 1).section('.', 0, 0);
        QFile file(home_ + "/config/ibus/bus/" + QString::fromUtf8(id.readAll()).trimmed() + "-unix-" +
                   display);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("IBUS_ADDRESS=")) {
                return QString::fromUtf8(line.mid(13));
            }
        }
        return {};
    }
    QDBusConnection bus() const {
        if (QDBusConnection connection("kivo-test-ibus"); connection.isConnected()) {
            return connection;
        }
        QDBusConnection::disconnectFromBus("kivo-test-ibus");
        return QDBusConnection::connectToBus(address(), "kivo-test-ibus");
    }
    // As the panel does when the user picks a menu item: on the one engine object there is.
    bool activate(const std::string& key, unsigned state) {
        QDBusConnection connection = bus();
        const auto names = connection.call(QDBusMessage::createMethodCall(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ListNames"));
        for (const QString& name : names.arguments().value(0).toStringList()) {
            if (name.startsWith(':') || name == "org.freedesktop.DBus" || name == "org.freedesktop.IBus") {
                continue;
            }
            const auto xml = connection.call(QDBusMessage::createMethodCall(
                name, "/org/freedesktop/IBus/Engine", "org.freedesktop.DBus.Introspectable", "Introspect"));
            QXmlStreamReader reader(xml.arguments().value(0).toString());
            while (!reader.atEnd()) {
                reader.readNext();
                const auto node = reader.attributes().value("name").toString();
                if (reader.isStartElement() && reader.name() == QLatin1String("node") && !node.isEmpty()) {
                    auto call =
                        QDBusMessage::createMethodCall(name, "/org/freedesktop/IBus/Engine/" + node,
                                                       "org.freedesktop.IBus.Engine", "PropertyActivate");
                    call << QString::fromStdString(key) << state;
                    return connection.call(call).type() == QDBusMessage::ReplyMessage;
                }
            }
        }
        return false;
    }
    bool ready_ = false;
};

// Fcitx 5 as a session starts it, on the session's bus, with a group of the keyboard and the three
// engines; Control+Space switches between the keyboard and the engine. Its input state is shared by all
// windows, so a blocked page's new window is in the user's engine and mode too (with a state of its own,
// a new window starts on the keyboard, and Kivo would have nothing to switch).
class FcitxDaemon final : public InputMethodDaemon {
public:
    static constexpr const char* kName = "fcitx";
    explicit FcitxDaemon(const QString& home) : InputMethodDaemon(home, module()) {
        QDir().mkpath(home + "/config/fcitx5");
        QFile profile(home + "/config/fcitx5/profile");
        profile.open(QIODevice::WriteOnly);
        profile.write(
            "[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=keyboard-us\n[GroupOrder]\n0=Default\n");
        int item = 0;
        for (const char* engine : {"keyboard-us", "mozc", "hangul", "pinyin"}) {
            profile.write("[Groups/0/Items/" + QByteArray::number(item++) + "]\nName=" + engine +
                          "\nLayout=\n");
        }
        profile.close();
        QFile config(home + "/config/fcitx5/config");
        config.open(QIODevice::WriteOnly);
        config.write("[Hotkey/TriggerKeys]\n0=Control+space\n[Behavior]\nShareInputState=All\n");
        config.close();
        process_ = std::make_unique<QProcess>();
        process_->setProcessEnvironment(environment());
        process_->setStandardOutputFile(QProcess::nullDevice());
        process_->setStandardErrorFile(home + "/fcitx5.log");
        process_->start("fcitx5", {"--replace"});
        ready_ = waitUntil([&] { return controller("State").has_value(); }, kDeadline);
    }
    bool ready() const { return ready_; }
    static QProcessEnvironment module() { return moduleFor("fcitx"); }
    std::string engine() override { return controller("CurrentInputMethod").value_or("").toStdString(); }
    // The controller acts on the input context focused last: once the field's has the focus (Chromium
    // makes a context for each window only as its field takes the focus), the engine, then the mode's keys.
    bool select(const EngineMode& mode) override {
        if (!waitUntil([&] { return controller("DebugInfo").value_or("").contains(" focus:1"); },
                       kDeadline) ||
            !controller("SetCurrentIM", {QString::fromStdString(mode.engine)}) ||
            !waitUntil([&] { return engine() == mode.engine; }, kDeadline)) {
            return false;
        }
        for (const auto& [key, unused] : mode.activate) {
            Desktop::type({"key", QString::fromStdString(key)});
        }
        return true;
    }

private:
    std::optional<QString> controller(const QString& method, const QVariantList& arguments = {}) const {
        auto message = QDBusMessage::createMethodCall("org.fcitx.Fcitx5", "/controller",
                                                      "org.fcitx.Fcitx.Controller1", method);
        message.setArguments(arguments);
        const auto reply = QDBusConnection::sessionBus().call(message, QDBus::Block, 2000);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            return std::nullopt;
        }
        return reply.arguments().isEmpty() ? QString() : reply.arguments().constFirst().toString();
    }
    bool ready_ = false;
};

// A browser of its own (its own profile, so its own process) started with an input method's
// environment.
class InputMethodBrowser {
public:
    InputMethodBrowser(const std::string& bundleId, const InputMethodDaemon& daemon, const QString& profile)
        : bundleId_(bundleId), profile_(profile) {
        if (bundleId == kFirefox) {
            desktop->writeFirefoxProfile(desktop->home.filePath(profile));
        }
        process_.setProcessEnvironment(daemon.browserEnvironment());
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setStandardErrorFile(desktop->home.filePath(profile + ".log"));
        const std::string start = desktop->server.url("/start/" + profile.toStdString());
        process_.start(QString::fromStdString(desktop->program(bundleId)),
                       desktop->arguments(bundleId, start, false, profile));
        started_ = waitUntil([&] { return desktop->shows(bundleId, start); }, kDeadline);
    }
    ~InputMethodBrowser() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool started() const { return started_; }
    int processId() const { return static_cast<int>(process_.processId()); }
    // A new window of this browser in front, showing `url`; 0 when it did not come.
    xcb_window_t open(const std::string& url) {
        const auto before = desktop->x->clientList();
        QProcess::execute(QString::fromStdString(desktop->program(bundleId_)),
                          desktop->arguments(bundleId_, url, true, profile_));
        xcb_window_t opened = 0;
        waitUntil(
            [&] {
                opened = desktop->x->activeWindow();
                return desktop->shows(bundleId_, url) && opened &&
                       std::find(before.begin(), before.end(), opened) == before.end();
            },
            kDeadline);
        return desktop->shows(bundleId_, url) ? opened : 0;
    }

private:
    std::string bundleId_;
    QString profile_;
    QProcess process_;
    bool started_ = false;
};

// Types the mode's keys into the "/field" page at `path` in the window in front, once its field has the
// focus, and waits for the field to show what that mode makes of them; then empties the field. A key
// typed while the engine is still starting for the field can be lost: the keys are typed again then, up
// to three times in all.
inline ::testing::AssertionResult typesInMode(const EngineMode& mode, const std::string& path) {
    std::string text;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!waitUntil([&] { return desktop->server.fieldFocused(path); }, kDeadline)) {
            return ::testing::AssertionFailure() << mode.name << ": the field did not get the focus";
        }
        for (const auto& key : mode.keys) {
            Desktop::type({"key", "--clearmodifiers", QString::fromStdString(key)});
        }
        const bool shown = waitUntil([&] { return desktop->server.fieldText(path) == mode.shows; }, 5s);
        text = desktop->server.fieldText(path);
        // Not Escape: some engines take it for a switch to Latin input (hangul does).
        Desktop::type({"key", "ctrl+a", "BackSpace"});
        waitUntil([&] { return desktop->server.fieldText(path).empty(); }, kDeadline);
        if (shown) {
            return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure()
           << mode.name << ": the field shows \"" << text << "\", not \"" << mode.shows << "\"";
}

} // namespace kivo::test
