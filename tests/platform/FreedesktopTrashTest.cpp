#include "platform/linux/FreedesktopTrash.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

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
    test::TemporaryHome temporaryHome;
    QString home = temporaryHome.home();
    QString root = QFileInfo(home).path();

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
    QDir().mkpath(root + "/opt/kivo");
    writeFile(root + "/opt/kivo/kivo");
    QDir().mkpath(home + "/Apps");
    QFile::link(root + "/opt/kivo", home + "/Apps/link");
    QDir().mkpath(home + "/Apps/real");
    QFile::link(home + "/Apps/real", home + "/Apps/inner");

    const QStringList refused{root + "/opt/kivo",     // outside home
                              home + "/../opt/kivo",  // outside home, spelled from inside
                              home,                   // the home itself
                              home + "/Apps/link",    // a link leading out
                              home + "/Apps/link/",   // the same, followed by the slash
                              home + "/Apps/inner/",  // a link within home, followed
                              home + "/Apps/inner/.", // the same, followed by "."
                              home + "/Apps/missing", // nothing there
                              "Apps/relative",        // not absolute
                              QString()};
    FreedesktopTrash trash;
    for (const auto& path : refused) {
        EXPECT_FALSE(trash.refusal(path).isEmpty()) << path.toStdString();
        EXPECT_FALSE(trash.moveToTrash(path).isEmpty()) << path.toStdString();
        EXPECT_FALSE(trash.removeEmptyFolder(path).isEmpty()) << path.toStdString();
    }
    EXPECT_TRUE(QFile::exists(root + "/opt/kivo/kivo"));
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

// The information file names the original path escaped as in addresses: every byte but "/" and the
// unreserved characters, so a file manager restores it exactly where it was. A clashing name gets an
// entry of its own.
TEST_F(FreedesktopTrashTest, recordsTheOriginalPathPercentEncoded) {
    struct Case {
        QString folder, name;
        QByteArray encoded;
    };
    const Case cases[] = {
        {"a", "kivo test", "/a/kivo%20test"},
        {"a", "100%", "/a/100%25"},
        {"a", "grün ü", "/a/gr%C3%BCn%20%C3%BC"},
        {"a", "#?;&=+", "/a/%23%3F%3B%26%3D%2B"},
        {"a", "-._~", "/a/-._~"},
        {"b c%41", "kivo test", "/b%20c%2541/kivo%20test"}, // the same name again
    };
    FreedesktopTrash trash;
    QStringList originals;
    for (const auto& c : cases) {
        const QString path = home + "/" + c.folder + "/" + c.name;
        QDir().mkpath(home + "/" + c.folder);
        writeFile(path);
        ASSERT_EQ(trash.moveToTrash(path), QString()) << c.name.toStdString();
        EXPECT_FALSE(QFile::exists(path));
        originals << path;
    }
    QMap<QString, QByteArray> recorded; // decoded path: as written
    const QString info = home + "/.local/share/Trash/info";
    for (const auto& entry : QDir(info).entryList({"*.trashinfo"}, QDir::Files)) {
        for (const auto& line : test::readFile(info + "/" + entry).split('\n')) {
            if (line.startsWith("Path=")) {
                const QByteArray value = line.mid(5);
                recorded.insert(QFile::decodeName(QByteArray::fromPercentEncoding(value)), value);
                EXPECT_TRUE(
                    QRegularExpression("^[A-Za-z0-9/%._~-]+$").match(QString::fromLatin1(value)).hasMatch())
                    << value.toStdString();
            }
        }
    }
    EXPECT_EQ(trashedNames().size(), std::size(cases));
    ASSERT_EQ(recorded.size(), std::size(cases));
    for (qsizetype i = 0; i < originals.size(); ++i) {
        ASSERT_TRUE(recorded.contains(originals[i])) << originals[i].toStdString();
        EXPECT_TRUE(recorded[originals[i]].endsWith(cases[i].encoded))
            << recorded[originals[i]].toStdString();
    }
}

TEST_F(FreedesktopTrashTest, removesAFolderOnlyWhenItIsEmpty) {
    QDir().mkpath(home + "/prefix/share/kivo");
    QDir().mkpath(home + "/prefix/share/other");
    writeFile(home + "/prefix/share/other/notes");
    FreedesktopTrash trash;
    EXPECT_EQ(trash.removeEmptyFolder(home + "/prefix/share/kivo"), QString());
    EXPECT_FALSE(QFile::exists(home + "/prefix/share/kivo"));
    EXPECT_TRUE(trash.removeEmptyFolder(home + "/prefix/share/other").contains("not empty"));
    EXPECT_TRUE(QFile::exists(home + "/prefix/share/other/notes"));
}

} // namespace
} // namespace kivo
