#include "platform/linux/XdgAutostartLoginItem.h"
#include "app/more/LoginItemService.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::readFile;
using test::writeFile;

// How a session reads an Exec value back, rule by rule: the string escapes of a value, then the
// argument quoting, then "%%" in each argument as a literal "%". Returns the arguments.
QStringList parseExec(const QString& value) {
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const auto next = value[++i];
            unescaped += next == 's'   ? QChar(' ')
                         : next == 'n' ? QChar('\n')
                         : next == 't' ? QChar('\t')
                                       : next;
        } else {
            unescaped += value[i];
        }
    }
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        const auto c = unescaped[i];
        if (quoted) {
            if (c == '\\' && i + 1 < unescaped.size() &&
                QStringLiteral("\"`$\\").contains(unescaped[i + 1])) {
                current += unescaped[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == '"') {
            quoted = true;
            any = true;
        } else if (c == ' ') {
            if (any) {
                arguments << current;
            }
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) {
        arguments << current;
    }
    for (auto& argument : arguments) {
        argument.replace(QStringLiteral("%%"), QStringLiteral("%"));
    }
    return arguments;
}

QString execLine(const QByteArray& entry) {
    for (const auto& line : entry.split('\n')) {
        if (line.startsWith("Exec=")) {
            return QString::fromUtf8(line.mid(5));
        }
    }
    return {};
}

TEST(XdgAutostartLoginItem, registerAndUnregisterRoundTrip) {
    QTemporaryDir dir;
    XdgAutostartLoginItem item(dir.path() + "/autostart", "/usr/bin/kivo");
    EXPECT_EQ(item.status(), LoginItemStatus::NotRegistered);
    EXPECT_TRUE(item.registerItem().isEmpty());
    EXPECT_EQ(item.status(), LoginItemStatus::Enabled);
    const auto entry = readFile(item.entryPath());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nType=Application\n"));
    EXPECT_EQ(parseExec(execLine(entry)), QStringList{"/usr/bin/kivo"});
    EXPECT_FALSE(QFile::exists(item.entryPath() + ".tmp"));

    EXPECT_TRUE(item.unregisterItem().isEmpty());
    EXPECT_EQ(item.status(), LoginItemStatus::NotRegistered);
    EXPECT_TRUE(item.unregisterItem().isEmpty()) << "switching off what is off is no failure";
}

class ExecQuoting : public ::testing::TestWithParam<const char*> {};

TEST_P(ExecQuoting, programPathReadsBackAsOneArgument) {
    QTemporaryDir dir;
    const auto path = QString::fromUtf8(GetParam());
    XdgAutostartLoginItem item(dir.path(), path);
    ASSERT_TRUE(item.registerItem().isEmpty());
    const auto exec = execLine(readFile(item.entryPath()));
    EXPECT_EQ(parseExec(exec), QStringList{path}) << exec.toStdString();
    // A lone "%" would be a field code, expanded by the session.
    EXPECT_FALSE(exec.contains(QRegularExpression("(^|[^%])%([^%]|$)"))) << exec.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, ExecQuoting,
                         ::testing::Values("/home/u/My Apps/kivo", "/home/u/100%/kivo %u",
                                           "/home/u/\"quoted\" 'single'/kivo", "/home/u/$HOME/kivo",
                                           "/home/u/back\\slash/kivo", "/home/u/`date`/kivo",
                                           "/home/u/;&|<>*?#()~/kivo",
                                           "/home/u/\xe6\x97\xa5\xe6\x9c\xac/kivo"));

TEST(XdgAutostartLoginItem, aPathWithAControlCharacterIsRefused) {
    QTemporaryDir dir;
    XdgAutostartLoginItem item(dir.path(), "/home/u/evil\nX-Other=1/kivo");
    EXPECT_FALSE(item.registerItem().isEmpty());
    EXPECT_FALSE(QFile::exists(item.entryPath()));
}

struct StatusCase {
    const char* name;
    const char* entry;
    LoginItemStatus status;
};

class AutostartStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(AutostartStatus, entryIsOnUnlessHiddenOrDisabled) {
    QTemporaryDir dir;
    XdgAutostartLoginItem item(dir.path(), "/usr/bin/kivo");
    writeFile(item.entryPath(), GetParam().entry);
    EXPECT_EQ(item.status(), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AutostartStatus,
    ::testing::Values(
        StatusCase{"plain", "[Desktop Entry]\nType=Application\nExec=kivo\n", LoginItemStatus::Enabled},
        StatusCase{"hidden", "[Desktop Entry]\nExec=kivo\nHidden=true\n", LoginItemStatus::NotRegistered},
        StatusCase{"hiddenFalse", "[Desktop Entry]\nExec=kivo\nHidden=false\n", LoginItemStatus::Enabled},
        StatusCase{"disabled", "[Desktop Entry]\nExec=kivo\nX-GNOME-Autostart-enabled=false\n",
                   LoginItemStatus::NotRegistered},
        StatusCase{"hiddenInOtherGroup", "[Desktop Entry]\nExec=kivo\n[Desktop Action x]\nHidden=true\n",
                   LoginItemStatus::Enabled},
        StatusCase{"commentedOut", "[Desktop Entry]\n# Hidden=true\nExec=kivo\n", LoginItemStatus::Enabled},
        StatusCase{"notAnEntry", "garbage\n", LoginItemStatus::NotFound}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XdgAutostartLoginItem, failingWriteIsLoggedAndKeepsTheState) {
    QTemporaryDir dir;
    // A file where the autostart directory should be: refused even for root.
    writeFile(dir.path() + "/autostart", "in the way");
    XdgAutostartLoginItem item(dir.path() + "/autostart", "/usr/bin/kivo");
    LoginItemService service(item);
    int changes = 0;
    QObject::connect(&service, &LoginItemService::isEnabledChanged, [&changes] { ++changes; });
    test::LogCapture log;

    service.setEnabled(true);

    EXPECT_FALSE(service.isEnabled());
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(log.contains("app.kivo.Kivo.lifecycle|critical|Login item toggle failed: "));
    EXPECT_EQ(readFile(dir.path() + "/autostart"), "in the way");
}

TEST(XdgAutostartLoginItem, standardDirectoryFollowsXdgConfigHome) {
    const auto saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(XdgAutostartLoginItem::standardDirectory(), "/tmp/cfg/autostart");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(XdgAutostartLoginItem::standardDirectory(), QDir::homePath() + "/.config/autostart");
    if (!saved.isNull()) {
        qputenv("XDG_CONFIG_HOME", saved);
    }
}

} // namespace
} // namespace kivo
