// Fcitx 5 with its engines, on a session bus of its own (not the test's: Kivo reads the field's from its
// environment), and a GTK field that has the focus on the test's X server.
#include "platform/linux/FcitxInputMethod.h"
#include "platform/linux/IBusInputMethod.h"
#include "platform/linux/InputMethodRecord.h"
#include "platform/linux/LinuxKeystrokeSink.h"
#include "platform/linux/XcbDesktop.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace kivo {
namespace {

using test::waitUntil;
constexpr std::chrono::seconds kDeadline{20};

// The group as Fcitx writes it, the keyboard first. Zenkaku_Hankaku is left to mozc, its own key between
// Direct and Hiragana, instead of being one of Fcitx's triggers.
// Mozc's server does not start as root, and Fcitx waits for it: as root the group goes without mozc.
QByteArray profile() {
    QByteArray text =
        "[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=keyboard-us\n[GroupOrder]\n0=Default\n";
    int item = 0;
    for (const char* engine : {"keyboard-us", "mozc", "hangul", "pinyin"}) {
        if (geteuid() != 0 || std::string(engine) != "mozc") {
            text += QByteArray("[Groups/0/Items/") + QByteArray::number(item++) + "]\nName=" + engine +
                    "\nLayout=\n";
        }
    }
    return text;
}
// Whether windows share Fcitx's state ("No", "All") is the user's choice.
QByteArray config(const QString& share) {
    return "[Hotkey/TriggerKeys]\n0=Control+space\n[Behavior]\nShareInputState=" + share.toUtf8() + "\n";
}

class Session {
public:
    QTemporaryDir home;
    QProcess bus, fcitx, field;
    QString address;
    std::optional<QDBusConnection> controller;
    std::unique_ptr<LinuxKeystrokeSink> sink;
    WindowHandle shown = 0;
    WindowHandle window = 0; // once it has the focus
    QString text;
    bool cleared = false;

    const QString share;
    const QString module; // the field's GTK input method module

    Session(QString shared, QString imModule) : share(std::move(shared)), module(std::move(imModule)) {
        const QString config = home.filePath("config/fcitx5");
        QDir().mkpath(config);
        test::writeFile(config + "/profile", profile());
        test::writeFile(config + "/config", kivo::config(share));
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!bus.waitForReadyRead(10000)) {
            trouble = "no session bus";
            return;
        }
        address = QString::fromUtf8(bus.readLine()).trimmed();
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        environment.insert("XDG_DATA_HOME", home.filePath("data"));
        environment.insert("GTK_IM_MODULE", module);
        environment.insert("XMODIFIERS", "@im=" + module);
        // Mozc's own key between Direct and Hiragana, on a key of its own: a key xdotool maps for the
        // moment of one press may be read back under another symbol.
        QProcess::execute("xmodmap", {"-e", "keycode 93 = Zenkaku_Hankaku"});
        fcitx.setProcessEnvironment(environment);
        // Mozc's server outlives Fcitx: it must not hold the test's output open.
        fcitx.setStandardOutputFile(QProcess::nullDevice());
        fcitx.setStandardErrorFile(home.filePath("fcitx5.log"));
        fcitx.start("fcitx5", {});
        controller = QDBusConnection::connectToBus(address, "test-fcitx");
        if (!waitUntil([&] { return call("State").has_value(); }, kDeadline)) {
            trouble = "fcitx5 not on the bus";
            return;
        }
        field.setProcessEnvironment(environment);
        field.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&field, &QProcess::readyReadStandardOutput, [this] { read(); });
        field.start("/usr/bin/python3", {KIVO_FCITX_FIELD});
        sink = std::make_unique<LinuxKeystrokeSink>(XcbDesktop::connect());
        // A window manager that has just started may leave a new window unfocused: asked once a second.
        const auto x = XcbDesktop::connect();
        QElapsedTimer asked;
        const bool focused = waitUntil(
            [&] {
                if (shown && !window && (!asked.isValid() || asked.elapsed() > 1000)) {
                    x->requestActivation(static_cast<xcb_window_t>(shown));
                    asked.start();
                }
                return window != 0;
            },
            kDeadline);
        if (!focused) {
            trouble = shown ? "the field's window not focused" : "the field not shown";
            return;
        }
        // The controller acts on the context focused last: the field's, once Fcitx is told of its focus.
        // GTK's module can miss telling it when the field is focused before its context is made: the
        // focus is then taken from the field and given back, once a second.
        asked.invalidate();
        if (!waitUntil(
                [&] {
                    if (asked.isValid() && asked.elapsed() > 1000) {
                        field.write("refocus\n");
                        asked.invalidate();
                    }
                    if (!asked.isValid()) {
                        asked.start();
                    }
                    return call("DebugInfo").value_or("").contains("focus:1");
                },
                kDeadline)) {
            trouble = "no focused input context: " + call("DebugInfo").value_or("").toStdString();
            return;
        }
        // Fcitx loads an engine when it is first selected, and answers slowly meanwhile.
        for (const QString engine : {"pinyin", "hangul", "mozc", "keyboard-us"}) {
            if ((engine != "mozc" || geteuid() != 0) && call("SetCurrentIM", {engine}) &&
                !waitUntil([&] { return call("CurrentInputMethod") == engine; }, kDeadline)) {
                trouble = "engine not selected: " + engine.toStdString();
                return;
            }
        }
    }
    ~Session() {
        for (auto* process : {&field, &fcitx, &bus}) {
            process->terminate();
            process->waitForFinished(5000);
        }
        // Mozc's server, started by Fcitx for this home, does not stop with it.
        for (const auto& entry : QDir("/proc").entryList(QDir::Dirs)) {
            if (QFile::symLinkTarget("/proc/" + entry + "/exe").endsWith("/mozc_server") &&
                test::readFile("/proc/" + entry + "/environ")
                    .contains("\0HOME=" + home.path().toUtf8() + '\0')) {
                ::kill(entry.toInt(), SIGTERM);
            }
        }
        QDBusConnection::disconnectFromBus("test-fcitx");
    }

    std::string trouble; // why it did not come up

    void read() {
        while (field.canReadLine()) {
            const QByteArray line = field.readLine().trimmed();
            if (line.startsWith("shown ")) {
                shown = line.mid(6).toULongLong();
            } else if (line.startsWith("ready ")) {
                window = line.mid(6).toULongLong();
            } else if (line == "cleared") {
                cleared = true;
            } else {
                text = QJsonDocument::fromJson("[" + line + "]").array().at(0).toString();
            }
        }
    }

    std::optional<QString> call(const QString& method, const QVariantList& arguments = {}) {
        auto message = QDBusMessage::createMethodCall("org.fcitx.Fcitx5", "/controller",
                                                      "org.fcitx.Fcitx.Controller1", method);
        message.setArguments(arguments);
        message.setAutoStartService(false); // the bus would start a Fcitx of its own
        const auto reply = controller->call(message, QDBus::Block, 2000);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            return std::nullopt;
        }
        return reply.arguments().isEmpty() ? QString() : reply.arguments().constFirst().toString();
    }

    // The engine and Fcitx's state for the field.
    QString engineAndState() {
        return call("CurrentInputMethod").value_or("?") + "/" + call("State").value_or("?");
    }

    bool clear() {
        cleared = false;
        field.write("clear\n");
        return waitUntil([&] { return cleared && text.isEmpty(); }, kDeadline);
    }

    bool key(const char* keysym) { return QProcess::execute("xdotool", {"key", keysym}) == 0; }
};

// What the engine made of the probe: its own script, or the probe as typed.
enum class Script { ascii, kana, hangul, hanzi };

bool inScript(const QString& text, Script script, const QString& probe) {
    if (script == Script::ascii) {
        return text == probe.trimmed();
    }
    const std::pair<char16_t, char16_t> range = script == Script::kana     ? std::pair(u'\u3041', u'\u30ff')
                                                : script == Script::hangul ? std::pair(u'\uac00', u'\ud7a3')
                                                                           : std::pair(u'\u4e00', u'\u9fff');
    return std::any_of(text.begin(), text.end(),
                       [&](QChar c) { return c.unicode() >= range.first && c.unicode() <= range.second; });
}

struct Row {
    const char* name;
    const char* engine;
    const char* mode; // "" as selected, "Toggle" for Fcitx's inactive state, or the engine's own key
    const char* probe;
    bool commitWithReturn;
    Script script;
    PlainTyping::Kind kind;
    friend void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }
};

class FcitxDesktop : public ::testing::Test {
public:
    static void TearDownTestSuite() { session.reset(); }

protected:
    void SetUp() override { start("No"); }

    void start(const QString& share, const QString& module = "fcitx") {
        if (QStandardPaths::findExecutable("fcitx5").isEmpty()) {
            GTEST_SKIP()
                << "fcitx5 is not installed (fcitx5, fcitx5-frontend-gtk3, fcitx5-mozc, fcitx5-hangul, "
                   "fcitx5-chinese-addons, python3-gi, gir1.2-gtk-3.0)";
        }
        if (!QFileInfo(KIVO_FCITX_FIELD).isReadable()) {
            GTEST_SKIP() << "this user cannot read " KIVO_FCITX_FIELD;
        }
        if (!session || session->share != share || session->module != module) {
            session.reset();
            session = std::make_unique<Session>(share, module);
        }
        ASSERT_EQ(session->trouble, "")
            << test::readFile(session->home.filePath("fcitx5.log")).right(2000).toStdString();
    }

    static std::unique_ptr<Session> session;
    QTemporaryDir state;
    std::shared_ptr<InputMethodRecord> record =
        std::make_shared<InputMethodRecord>(state.filePath("im.json"));
};

std::unique_ptr<Session> FcitxDesktop::session;

class FcitxOnTheDesktop : public FcitxDesktop,
                          public ::testing::WithParamInterface<std::tuple<const char*, Row>> {
protected:
    void SetUp() override {
        start(std::get<0>(GetParam()));
        if (!IsSkipped() && !HasFatalFailure() && std::string(std::get<1>(GetParam()).engine) == "mozc" &&
            geteuid() == 0) {
            GTEST_SKIP() << "mozc does not run as root: run through tests/integration/as-unprivileged-user";
        }
    }

    // Proves the engine's mode by what it makes of the probe.
    void probe(const Row& row) {
        ASSERT_TRUE(session->clear());
        ASSERT_EQ(session->sink->typeText(session->window, row.probe), KeystrokeResult::sent);
        if (row.commitWithReturn) {
            ASSERT_EQ(session->sink->pressReturn(session->window), KeystrokeResult::sent);
        }
        EXPECT_TRUE(waitUntil([&] { return inScript(session->text, row.script, row.probe); }, kDeadline))
            << session->text.toStdString();
    }
};

const std::string kAddress = "http://127.0.0.1:8080/shield.html?blocked=http://aa.example/ss?x=1";

TEST_P(FcitxOnTheDesktop, TypesPlainAndGivesBackTheEngineAndMode) {
    const Row& row = std::get<1>(GetParam());
    ASSERT_TRUE(session->call("SetCurrentIM", {QString(row.engine)}));
    if (std::string(row.mode) == "Toggle") {
        ASSERT_TRUE(session->call("Toggle"));
    } else if (*row.mode) {
        ASSERT_TRUE(session->key(row.mode));
    }
    probe(row);
    const QString before = session->engineAndState();
    ASSERT_TRUE(session->clear());

    FcitxInputMethod fcitx(record);
    EXPECT_EQ(fcitx.typePlain(static_cast<int>(session->field.processId()), session->window).kind, row.kind);
    EXPECT_EQ(session->sink->typeText(session->window, kAddress), KeystrokeResult::sent);
    EXPECT_TRUE(waitUntil([&] { return session->text.toStdString() == kAddress; }, kDeadline))
        << session->text.toStdString();
    EXPECT_TRUE(fcitx.restore());
    EXPECT_EQ(session->engineAndState(), before);
    probe(row);
}

INSTANTIATE_TEST_SUITE_P(
    Engines, FcitxOnTheDesktop,
    ::testing::Combine(
        ::testing::Values("No", "All"),
        ::testing::Values(
            Row{"keyboard", "keyboard-us", "", "ka", false, Script::ascii, PlainTyping::Kind::plain},
            Row{"mozcHiragana", "mozc", "", "ka", true, Script::kana, PlainTyping::Kind::switched},
            Row{"mozcDirect", "mozc", "Zenkaku_Hankaku", "ka", false, Script::ascii,
                PlainTyping::Kind::switched},
            Row{"hangulHangul", "hangul", "", "gks ", false, Script::hangul, PlainTyping::Kind::switched},
            Row{"hangulLatin", "hangul", "Toggle", "ka", false, Script::ascii, PlainTyping::Kind::plain},
            Row{"pinyinChinese", "pinyin", "", "ni ", false, Script::hanzi, PlainTyping::Kind::switched},
            Row{"pinyinEnglish", "pinyin", "Toggle", "ka", false, Script::ascii, PlainTyping::Kind::plain})),
    [](const auto& info) {
        return std::string("shared") + std::get<0>(info.param) + "_" + std::get<1>(info.param).name;
    });

// A Kivo that stopped while switched: the next one puts the user's engine back, unless the user has
// chosen another since.
TEST_F(FcitxDesktop, RecoversALeftoverSwitchUnlessTheUserMovedOn) {
    for (const auto& [movesTo, expected] : {std::pair("", "pinyin/2"), std::pair("hangul", "hangul/2")}) {
        ASSERT_TRUE(session->call("SetCurrentIM", {QString("pinyin")}));
        FcitxInputMethod stopped(record);
        ASSERT_EQ(stopped.typePlain(static_cast<int>(session->field.processId()), session->window).kind,
                  PlainTyping::Kind::switched);
        if (*movesTo) {
            ASSERT_TRUE(session->call("SetCurrentIM", {QString(movesTo)}));
        }
        const auto leftover = record->load();
        ASSERT_TRUE(leftover);
        FcitxInputMethod(record).recover(*leftover);
        EXPECT_EQ(session->engineAndState(), expected) << movesTo;
    }
}

// Fcitx's IBus front end answers for IBus: a field through GTK's IBus module is switched through Fcitx.
TEST_F(FcitxDesktop, AFieldThroughTheIBusModuleIsSwitchedThroughFcitx) {
    start("No", "ibus");
    ASSERT_TRUE(session->call("SetCurrentIM", {QString("pinyin")}));
    LinuxInputMethod inputMethod(record, std::make_unique<IBusInputMethod>(record),
                                 std::make_unique<FcitxInputMethod>(record));
    EXPECT_EQ(inputMethod.typePlain(static_cast<int>(session->field.processId()), session->window).kind,
              PlainTyping::Kind::switched);
    EXPECT_EQ(session->sink->typeText(session->window, kAddress), KeystrokeResult::sent);
    EXPECT_TRUE(waitUntil([&] { return session->text.toStdString() == kAddress; }, kDeadline))
        << session->text.toStdString();
    EXPECT_TRUE(inputMethod.restore());
    EXPECT_EQ(session->engineAndState(), "pinyin/2");
}

} // namespace
} // namespace kivo
