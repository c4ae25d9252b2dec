#include "platform/linux/FreedesktopTrash.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace kivo {
namespace {

void writeFile(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

// Runs each test with HOME and the data directory inside a temporary folder.
class FreedesktopTrashTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString home;
    QByteArray savedHome = qgetenv("HOME");
    QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");

    void SetUp() override {
        home = root.path() + "/home";
        QDir().mkpath(home + "/.local/share");
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_DATA_HOME", (home + "/.local/share").toUtf8());
    }
    void TearDown() override {
        qputenv("HOME", savedHome);
        if (savedDataHome.isNull()) {
            qunsetenv("XDG_DATA_HOME");
        } else {
            qputenv("XDG_DATA_HOME", savedDataHome);
        }
    }

    QStringList trashedNames() const {
        return QDir(home + "/.local/share/Trash/files").entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
};

TEST_F(FreedesktopTrashTest, movesTheUsersOwnFolderToTheTrash) {
    QDir().mkpath(home + "/Apps/kivo/bin");
    writeFile(home + "/Apps/kivo/bin/kivo");
    FreedesktopTrash trash;
    EXPECT_EQ(trash.moveToTrash(home + "/Apps/kivo"), QString());
    EXPECT_FALSE(QFile::exists(home + "/Apps/kivo"));
    EXPECT_EQ(trashedNames(), QStringList{"kivo"});
    EXPECT_TRUE(QFile::exists(home + "/.local/share/Trash/info/kivo.trashinfo"));
}

TEST_F(FreedesktopTrashTest, refusesWhatIsNotTheUsersOwnInsideHome) {
    QDir().mkpath(root.path() + "/opt/kivo");
    writeFile(root.path() + "/opt/kivo/kivo");
    QDir().mkpath(home + "/Apps");
    QFile::link(root.path() + "/opt/kivo", home + "/Apps/link");
    QDir().mkpath(home + "/Apps/real");
    QFile::link(home + "/Apps/real", home + "/Apps/inner");

    const QStringList refused{root.path() + "/opt/kivo", // outside home
                              home + "/../opt/kivo",     // outside home, spelled from inside
                              home,                      // the home itself
                              home + "/Apps/link",       // a link leading out
                              home + "/Apps/link/",      // the same, followed by the slash
                              home + "/Apps/inner/",     // a link within home, followed
                              home + "/Apps/inner/.",    // the same, followed by "."
                              home + "/Apps/missing",    // nothing there
                              "Apps/relative",           // not absolute
                              QString()};
    FreedesktopTrash trash;
    for (const auto& path : refused) {
        EXPECT_FALSE(trash.refusal(path).isEmpty()) << path.toStdString();
        EXPECT_FALSE(trash.moveToTrash(path).isEmpty()) << path.toStdString();
    }
    EXPECT_TRUE(QFile::exists(root.path() + "/opt/kivo/kivo"));
    EXPECT_TRUE(QFile::exists(home + "/Apps/link"));
    EXPECT_TRUE(QFileInfo(home + "/Apps/inner").isSymLink());
    EXPECT_TRUE(QFileInfo(home + "/Apps/real").isDir());
    EXPECT_TRUE(trashedNames().isEmpty());
}

TEST_F(FreedesktopTrashTest, aTrailingSlashStillMovesTheFolder) {
    QDir().mkpath(home + "/Apps/kivo");
    FreedesktopTrash trash;
    EXPECT_EQ(trash.moveToTrash(home + "/Apps/kivo//"), QString());
    EXPECT_FALSE(QFile::exists(home + "/Apps/kivo"));
    EXPECT_EQ(trashedNames(), QStringList{"kivo"});
}

TEST_F(FreedesktopTrashTest, refusesAFileOwnedBySomeoneElse) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "only root can hand a file to another user";
    }
    writeFile(home + "/shared");
    ASSERT_EQ(::chown(QFile::encodeName(home + "/shared").constData(), 65534, 65534), 0);
    FreedesktopTrash trash;
    EXPECT_TRUE(trash.moveToTrash(home + "/shared").contains("not owned"));
    EXPECT_TRUE(QFile::exists(home + "/shared"));
}

} // namespace
} // namespace kivo
