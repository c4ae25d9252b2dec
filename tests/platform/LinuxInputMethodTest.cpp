#include "platform/linux/LinuxInputMethod.h"
#include "platform/linux/InputMethodRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace kivo {
namespace {

using Choice = LinuxInputMethod::Choice;

TEST(LinuxInputMethod, TheBrowsersEnvironmentNamesItsInputMethodAsGtkReadsIt) {
    const struct {
        std::map<std::string, std::string> environment;
        Choice choice;
        std::string ibusDaemon = {};
    } rows[] = {
        {{}, Choice::ibus}, // GTK's default with the IBus module installed
        {{{"GTK_IM_MODULE", "ibus"}}, Choice::ibus},
        {{{"GTK_IM_MODULE", "fcitx"}}, Choice::fcitx},
        {{{"GTK_IM_MODULE", "fcitx5"}, {"XMODIFIERS", "@im=ibus"}}, Choice::fcitx},
        {{{"GTK_IM_MODULE", "xim"}, {"XMODIFIERS", "@im=fcitx"}}, Choice::fcitx},
        {{{"GTK_IM_MODULE", "xim"}}, Choice::none},
        {{{"GTK_IM_MODULE", "simple"}}, Choice::none},
        {{{"GTK_IM_MODULE", "uim"}}, Choice::unknown},
        // Fcitx 5's IBus front end answering for IBus
        {{{"GTK_IM_MODULE", "ibus"}}, Choice::fcitx, "fcitx5"},
        {{}, Choice::fcitx, "fcitx5"},
        {{}, Choice::ibus, "ibus-daemon"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LinuxInputMethod::choose(row.environment, row.ibusDaemon), row.choice);
    }
}

// A framework that switches whenever asked and records what it is asked to do.
struct FakeFramework final : InputMethodFramework {
    explicit FakeFramework(QString n) : n_(std::move(n)) {}
    QString name() const override { return n_; }
    PlainTyping typePlain(int, WindowHandle) override { return {PlainTyping::Kind::switched, {}}; }
    bool restore() override { return ++restores, restoreWorks; }
    void recover(const QJsonObject& record) override { recovered.push_back(record); }
    QString n_;
    int restores = 0;
    bool restoreWorks = true;
    std::vector<QJsonObject> recovered;
};

TEST(LinuxInputMethod, ALeftoverRecordIsHandedToItsFrameworkOnceAndAnUnreadableOneKeptAside) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kivo/input-method.json"));
    const QJsonObject left{{"framework", "fcitx5"}, {"user", "mozc"}};
    for (const bool readable : {true, false}) {
        SCOPED_TRACE(readable);
        auto record = std::make_shared<InputMethodRecord>(path);
        if (readable) {
            ASSERT_TRUE(record->save(left));
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("{torn");
        }
        auto ibus = std::make_unique<FakeFramework>(QStringLiteral("ibus"));
        auto fcitx = std::make_unique<FakeFramework>(QStringLiteral("fcitx5"));
        auto* ibusSeen = ibus.get();
        auto* fcitxSeen = fcitx.get();
        LinuxInputMethod inputMethod(record, std::move(ibus), std::move(fcitx));
        inputMethod.recoverLeftover();
        inputMethod.recoverLeftover();
        EXPECT_TRUE(ibusSeen->recovered.empty());
        EXPECT_EQ(fcitxSeen->recovered,
                  readable ? std::vector<QJsonObject>{left} : std::vector<QJsonObject>{});
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(QFile::exists(path + QStringLiteral(".unreadable")), !readable);
    }
}

TEST(LinuxInputMethod, WhatIsStillSwitchedIsGivenBackOnceAndARecordStaysWhenThatFails) {
    const QByteArray module = qgetenv("GTK_IM_MODULE");
    if (!module.isEmpty() && module != "ibus") {
        GTEST_SKIP() << "this process's own input method is not IBus";
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input-method.json"));
    for (const bool works : {true, false}) {
        SCOPED_TRACE(works);
        auto record = std::make_shared<InputMethodRecord>(path);
        ASSERT_TRUE(record->save({{"framework", "ibus"}}));
        auto ibus = std::make_unique<FakeFramework>(QStringLiteral("ibus"));
        ibus->restoreWorks = works;
        auto* seen = ibus.get();
        {
            LinuxInputMethod inputMethod(record, std::move(ibus), nullptr);
            // This process stands in for the browser.
            ASSERT_EQ(inputMethod.typePlain(static_cast<int>(::getpid()), 0).kind,
                      PlainTyping::Kind::switched);
            EXPECT_EQ(inputMethod.restore(), works);
            EXPECT_TRUE(inputMethod.restore()); // nothing is switched any more
            EXPECT_EQ(seen->restores, 1);
        }
        EXPECT_EQ(QFile::exists(path), !works); // the next start tries again
    }
}

} // namespace
} // namespace kivo
