#include "platform/linux/FreedesktopTrash.h"
#include "platform/linux/LinuxInstallation.h"
#include "support/AppRig.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace kivo {
namespace {

// The real install of this build, into a prefix whose name needs escaping inside a temporary home, taken
// away again by the delegate's uninstall with the real trash: nothing the install wrote is left, and the
// trash can put every file back where it was.
TEST(InstalledUninstall, trashesEverythingTheInstallPutThere) {
    test::TemporaryHome temporaryHome;
    const QString prefix = temporaryHome.home() + QStringLiteral("/Apps/kivo test ü");
    QProcess install;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DESTDIR"));
    install.setProcessEnvironment(environment);
    install.start(
        QStringLiteral(KIVO_CMAKE_COMMAND),
        {QStringLiteral("--install"), QStringLiteral(KIVO_BUILD_DIR), QStringLiteral("--prefix"), prefix});
    ASSERT_TRUE(install.waitForFinished(120000));
    const QString output = QString::fromUtf8(install.readAllStandardOutput());
    ASSERT_EQ(install.exitCode(), 0) << output.toStdString() << install.readAllStandardError().toStdString();
    QStringList installed;
    for (const auto& match : QRegularExpression(QStringLiteral("^-- (?:Installing|Up-to-date): (.+)$"),
                                                QRegularExpression::MultilineOption)
                                 .globalMatch(output)) {
        installed << match.captured(1);
    }
    installed.sort();
    ASSERT_FALSE(installed.isEmpty()) << output.toStdString();

    // The list the build gave the program is exactly what the install wrote.
    QStringList listed;
    for (const auto& relative : LinuxInstallation::installedFiles()) {
        listed << prefix + QLatin1Char('/') + relative;
    }
    listed.sort();
    EXPECT_EQ(listed.join('\n').toStdString(), installed.join('\n').toStdString());

    const LinuxInstallation installation(prefix + QStringLiteral("/bin/kivo"), temporaryHome.dataHome());
    FreedesktopTrash trash;
    test::AppRig rig(nlohmann::json::object(), {"en"}, &trash, &installation);
    test::LogCapture log;
    rig.delegate->uninstall();
    EXPECT_FALSE(log.contains("Uninstall recycle failed"));
    for (const auto& path : installed) {
        EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(prefix + QStringLiteral("/share/kivo"))) << "the emptied own folder";
    EXPECT_TRUE(QFileInfo(prefix + QStringLiteral("/bin")).isDir()) << "a shared folder stays";

    QStringList restorable;
    const QString info = temporaryHome.dataHome() + QStringLiteral("/Trash/info/");
    for (const auto& entry : QDir(info).entryList({QStringLiteral("*.trashinfo")}, QDir::Files)) {
        const QByteArray path = test::readFile(info + entry).split('\n').value(1);
        ASSERT_TRUE(path.startsWith("Path=/")) << path.toStdString();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^Path=[A-Za-z0-9/%._~-]+$"))
                        .match(QString::fromLatin1(path))
                        .hasMatch())
            << "escaped: " << path.toStdString();
        restorable << QFile::decodeName(QByteArray::fromPercentEncoding(path.mid(5)));
    }
    restorable.sort();
    EXPECT_EQ(restorable.join('\n').toStdString(), installed.join('\n').toStdString());
    test::processEvents();
    EXPECT_EQ(rig.windows.terminations, 1);
}

} // namespace
} // namespace kivo
