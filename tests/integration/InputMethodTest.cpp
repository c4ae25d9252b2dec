// Redirects typed through the input methods users type with, each engine in its native mode, in both
// browsers; and the user's engine and mode afterwards. Run as an unprivileged user (mozc refuses root):
// ctest's browsers.integration.input_methods does that when started as root.
#include "InputMethods.h"

#include "platform/linux/IBusInputMethod.h"
#include "platform/linux/InputMethodRecord.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::desktop;
using test::EngineMode;
using test::kChrome;
using test::kDeadline;
using test::kFirefox;

const std::vector<std::string> kHangeul{"g", "k", "s", "r", "m", "f"};
const EngineMode kIBusModes[] = {
    {"ibus_us", "xkb:us::eng", {}, {"a", "b", "b", "a"}, "abba"},
    {"ibus_hangul_latin", "hangul", {}, kHangeul, "gksrmf"},
    {"ibus_hangul_hangul", "hangul", {{"InputMode", 1}}, kHangeul, "\xED\x95\x9C\xEA\xB8\x80"}, // 한글
    {"ibus_mozc_hiragana",
     "mozc-jp",
     {{"InputMode.Hiragana", 1}},
     {"n", "i", "h", "o", "n", "g", "o", "Return"},
     "\xE3\x81\xAB\xE3\x81\xBB\xE3\x82\x93\xE3\x81\x94"}, // にほんご
    {"ibus_pinyin_chinese",
     "libpinyin",
     {},
     {"z", "h", "o", "n", "g", "w", "e", "n", "space"},
     "\xE4\xB8\xAD\xE6\x96\x87"}, // 中文
};

// The same keys as a plain keyboard types them.
EngineMode plainly(const EngineMode& mode) {
    EngineMode plain = mode;
    plain.shows.clear();
    for (const auto& key : mode.keys) {
        plain.shows += key == "space" ? " " : key == "Return" ? "" : key;
    }
    return plain;
}

const EngineMode kFcitxModes[] = {
    {"fcitx_keyboard", "keyboard-us", {}, {"a", "b", "b", "a"}, "abba"},
    {"fcitx_mozc_hiragana", "mozc", {}, kIBusModes[3].keys, kIBusModes[3].shows},
    {"fcitx_hangul_hangul", "hangul", {}, kHangeul, kIBusModes[2].shows},
    {"fcitx_pinyin_chinese", "pinyin", {}, kIBusModes[4].keys, kIBusModes[4].shows},
};

struct Row {
    EngineMode mode;
    test::BrowserCase browser;
    friend void PrintTo(const Row& row, std::ostream* os) { *os << row.mode.name << "_" << row.browser.name; }
};

template <class Daemon> class FrameworkDesktop {
public:
    FrameworkDesktop()
        : daemon(home.path()), firefox(kFirefox, daemon, Daemon::kName + QString("-firefox")),
          chromium(kChrome, daemon, Daemon::kName + QString("-chromium")) {}
    QTemporaryDir home;
    Daemon daemon;
    test::InputMethodBrowser firefox;
    test::InputMethodBrowser chromium;
    test::InputMethodBrowser& browser(const std::string& bundleId) {
        return bundleId == kChrome ? chromium : firefox;
    }
};

template <class Daemon> class InputMethodTest : public ::testing::TestWithParam<Row> {
protected:
    static void SetUpTestSuite() {
        if (!test::runsAsRoot()) {
            im_ = new FrameworkDesktop<Daemon>();
        }
    }
    static void TearDownTestSuite() {
        delete im_;
        im_ = nullptr;
    }
    void SetUp() override {
        if (test::runsAsRoot()) {
            GTEST_SKIP() << "mozc refuses root: ctest runs these as a user of their own "
                            "(browsers.integration.input_methods)";
        }
        ASSERT_TRUE(im_->daemon.ready()) << "the input method did not start";
        ASSERT_TRUE(im_->firefox.started() && im_->chromium.started()) << "a browser did not start";
    }
    const EngineMode& mode() const { return GetParam().mode; }
    std::string id() const { return GetParam().browser.bundleId; }
    std::string row() const { return std::string(mode().name) + "-" + GetParam().browser.name; }
    // A window with a page field in front, the engine in its mode, proven by typing.
    xcb_window_t fieldWindow(const std::string& path) {
        const xcb_window_t window = im_->browser(id()).open(desktop->server.url(path));
        EXPECT_TRUE(window) << "no window with the field";
        EXPECT_TRUE(im_->daemon.select(mode())) << "the engine or mode was not taken";
        EXPECT_TRUE(test::typesInMode(mode(), path));
        return window;
    }
    // The blocked page ends on the exact redirect address, and the engine keeps its mode.
    void redirectsAndKeepsTheMode() {
        const std::string field = "/field/" + row();
        const xcb_window_t window = fieldWindow(field);
        ASSERT_FALSE(HasFailure());
        const std::string blocked = desktop->server.url("/blocked/ime-" + row() + "?q=aa//0.0.1");
        {
            test::MonitorRun monitor;
            const xcb_window_t redirected = im_->browser(id()).open(blocked);
            EXPECT_TRUE(test::waitUntil([&] { return desktop->landedFrom(id(), blocked); }, kDeadline))
                << "not redirected";
            desktop->closeWindow(redirected);
        }
        // Fcitx tells the engine of the field that has the focus.
        ASSERT_TRUE(desktop->activate(window));
        ASSERT_TRUE(test::waitUntil([&] { return desktop->server.fieldFocused(field); }, kDeadline));
        EXPECT_EQ(im_->daemon.engine(), mode().engine);
        EXPECT_TRUE(test::typesInMode(mode(), field)) << "the mode did not stay";
        desktop->closeWindow(window);
    }
    static FrameworkDesktop<Daemon>* im_;
};
template <class Daemon> FrameworkDesktop<Daemon>* InputMethodTest<Daemon>::im_ = nullptr;

class IBusInputMethodTest : public InputMethodTest<test::IBusDaemon> {};
class FcitxInputMethodTest : public InputMethodTest<test::FcitxDaemon> {};

TEST_P(IBusInputMethodTest, ABlockedPageLandsOnTheExactRedirectAndTheEngineKeepsItsMode) {
    redirectsAndKeepsTheMode();
}

TEST_P(FcitxInputMethodTest, ABlockedPageLandsOnTheExactRedirectAndTheEngineKeepsItsMode) {
    redirectsAndKeepsTheMode();
}

template <std::size_t count> std::vector<Row> rows(const EngineMode (&modes)[count]) {
    std::vector<Row> out;
    for (const auto& mode : modes) {
        for (const auto& browser :
             {test::BrowserCase{"firefox", kFirefox}, test::BrowserCase{"chromium", kChrome}}) {
            out.push_back({mode, browser});
        }
    }
    return out;
}
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
    return std::string(info.param.mode.name) + "_" + info.param.browser.name;
}

INSTANTIATE_TEST_SUITE_P(IBus, IBusInputMethodTest, ::testing::ValuesIn(rows(kIBusModes)), rowName);
INSTANTIATE_TEST_SUITE_P(Fcitx, FcitxInputMethodTest, ::testing::ValuesIn(rows(kFcitxModes)), rowName);

// The back end alone, as the typing road drives it: plain keys while switched, then the user's engine and
// mode, given back at once or by the next start after a Kivo that stopped while switched.
class InputMethodBackEndTest : public IBusInputMethodTest {};

TEST_P(InputMethodBackEndTest, TypesPlainWhileSwitchedAndGivesBackEngineAndMode) {
    for (const bool stopped : {false, true}) {
        SCOPED_TRACE(stopped ? "recovered at the next start" : "restored");
        const std::string field = "/field/backend-" + row() + (stopped ? "-stopped" : "");
        const xcb_window_t window = fieldWindow(field);
        ASSERT_FALSE(HasFailure());
        auto record = std::make_shared<InputMethodRecord>(im_->home.filePath("record.json"));
        auto ibus = std::make_unique<IBusInputMethod>(record);
        const bool plain = mode().engine.rfind("xkb:", 0) == 0;
        EXPECT_EQ(ibus->typePlain(im_->browser(id()).processId(), {}).kind,
                  plain ? PlainTyping::Kind::plain : PlainTyping::Kind::switched);
        EXPECT_TRUE(test::typesInMode(plainly(mode()), field));
        if (stopped) {
            ibus = std::make_unique<IBusInputMethod>(record);
            if (const auto left = record->load()) {
                ibus->recover(*left);
            } else {
                EXPECT_TRUE(plain) << "nothing recorded";
            }
        } else {
            EXPECT_TRUE(ibus->restore());
        }
        record->clear();
        EXPECT_EQ(im_->daemon.engine(), mode().engine);
        EXPECT_TRUE(test::typesInMode(mode(), field)) << "the mode did not come back";
        desktop->closeWindow(window);
    }
}

INSTANTIATE_TEST_SUITE_P(IBus, InputMethodBackEndTest,
                         ::testing::Values(Row{kIBusModes[0], {"firefox", kFirefox}},
                                           Row{kIBusModes[2], {"firefox", kFirefox}},
                                           Row{kIBusModes[3], {"chromium", kChrome}},
                                           Row{kIBusModes[4], {"firefox", kFirefox}}),
                         [](const auto& info) { return std::string(info.param.mode.name); });

} // namespace
} // namespace kivo
