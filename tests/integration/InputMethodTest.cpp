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

struct Row {
    EngineMode mode;
    test::BrowserCase browser;
    friend void PrintTo(const Row& row, std::ostream* os) { *os << row.mode.name << "_" << row.browser.name; }
};

class IBusDesktop {
public:
    IBusDesktop()
        : daemon(home.path()), firefox(kFirefox, daemon, "firefox-ibus"),
          chromium(kChrome, daemon, "chromium-ibus") {}
    QTemporaryDir home;
    test::IBusDaemon daemon;
    test::InputMethodBrowser firefox;
    test::InputMethodBrowser chromium;
    test::InputMethodBrowser& browser(const std::string& bundleId) {
        return bundleId == kChrome ? chromium : firefox;
    }
};

class InputMethodTest : public ::testing::TestWithParam<Row> {
protected:
    static void SetUpTestSuite() {
        if (!test::runsAsRoot()) {
            ibus_ = new IBusDesktop();
        }
    }
    static void TearDownTestSuite() {
        delete ibus_;
        ibus_ = nullptr;
    }
    void SetUp() override {
        if (test::runsAsRoot()) {
            GTEST_SKIP() << "mozc refuses root: ctest runs these as a user of their own "
                            "(browsers.integration.input_methods)";
        }
        ASSERT_TRUE(ibus_->daemon.ready()) << "ibus-daemon did not start";
        ASSERT_TRUE(ibus_->firefox.started() && ibus_->chromium.started()) << "a browser did not start";
    }
    const EngineMode& mode() const { return GetParam().mode; }
    std::string id() const { return GetParam().browser.bundleId; }
    std::string row() const { return std::string(mode().name) + "-" + GetParam().browser.name; }
    // A window with a page field in front, the engine in its mode, proven by typing.
    xcb_window_t fieldWindow(const std::string& path) {
        const xcb_window_t window = ibus_->browser(id()).open(desktop->server.url(path));
        EXPECT_TRUE(window) << "no window with the field";
        EXPECT_TRUE(ibus_->daemon.select(mode())) << "the engine or mode was not taken";
        EXPECT_TRUE(test::typesInMode(mode(), path));
        return window;
    }
    static IBusDesktop* ibus_;
};
IBusDesktop* InputMethodTest::ibus_ = nullptr;

TEST_P(InputMethodTest, ABlockedPageLandsOnTheExactRedirectAndTheEngineKeepsItsMode) {
    const std::string field = "/field/" + row();
    const xcb_window_t window = fieldWindow(field);
    ASSERT_FALSE(HasFailure());
    const std::string blocked = desktop->server.url("/blocked/ime-" + row() + "?q=aa//0.0.1");
    {
        test::MonitorRun monitor;
        const xcb_window_t redirected = ibus_->browser(id()).open(blocked);
        EXPECT_TRUE(test::waitUntil([&] { return desktop->landedFrom(id(), blocked); }, kDeadline))
            << "not redirected";
        desktop->closeWindow(redirected);
    }
    EXPECT_EQ(ibus_->daemon.engine(), mode().engine);
    ASSERT_TRUE(desktop->activate(window));
    EXPECT_TRUE(test::typesInMode(mode(), field)) << "the mode did not stay";
    desktop->closeWindow(window);
}

std::vector<Row> rows() {
    std::vector<Row> out;
    for (const auto& mode : kIBusModes) {
        for (const auto& browser :
             {test::BrowserCase{"firefox", kFirefox}, test::BrowserCase{"chromium", kChrome}}) {
            out.push_back({mode, browser});
        }
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(IBus, InputMethodTest, ::testing::ValuesIn(rows()), [](const auto& info) {
    return std::string(info.param.mode.name) + "_" + info.param.browser.name;
});

// The back end alone, as the typing road drives it: plain keys while switched, then the user's engine and
// mode, given back at once or by the next start after a Kivo that stopped while switched.
class InputMethodBackEndTest : public InputMethodTest {};

TEST_P(InputMethodBackEndTest, TypesPlainWhileSwitchedAndGivesBackEngineAndMode) {
    for (const bool stopped : {false, true}) {
        SCOPED_TRACE(stopped ? "recovered at the next start" : "restored");
        const std::string field = "/field/backend-" + row() + (stopped ? "-stopped" : "");
        const xcb_window_t window = fieldWindow(field);
        ASSERT_FALSE(HasFailure());
        auto record = std::make_shared<InputMethodRecord>(ibus_->home.filePath("record.json"));
        auto ibus = std::make_unique<IBusInputMethod>(record);
        const bool plain = mode().engine.rfind("xkb:", 0) == 0;
        EXPECT_EQ(ibus->typePlain(ibus_->browser(id()).processId(), {}).kind,
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
        EXPECT_EQ(ibus_->daemon.engine(), mode().engine);
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
