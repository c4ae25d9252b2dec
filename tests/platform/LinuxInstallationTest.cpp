#include "platform/linux/LinuxInstallation.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace kivo {
namespace {

// What the uninstall would take, by where the program runs from. Paths are relative to the home.
TEST(LinuxInstallation, takesWhatItsInstallPutBesideTheProgram) {
    struct Case {
        const char* name;
        QString program;
        QStringList present;
        QStringList files;
        QStringList folders;
    };
    const QString entry = "/.local/share/applications/app.kivo.Kivo.desktop";
    const QString statement = "/.local/share/kivo/privacy.html";
    const Case cases[] = {
        {"installed in the home prefix: its own files, missing ones skipped, not the others' ",
         "/.local/bin/kivo",
         {"/.local/bin/kivo", statement, "/.local/share/applications/other.desktop"},
         {"/.local/bin/kivo", statement},
         {"/.local/share/kivo"}},
        {"run from a build tree: the program and the data directory's entries, as before",
         "/src/build/src/kivo",
         {"/src/build/src/kivo", entry, statement},
         {"/src/build/src/kivo", entry},
         {}},
        {"a system package: nothing", "/../usr/bin/kivo", {"/../usr/bin/kivo", statement}, {}, {}},
    };
    for (const auto& c : cases) {
        test::TemporaryHome temporaryHome;
        const QString home = temporaryHome.home();
        for (const auto& path : c.present) {
            QDir().mkpath(QFileInfo(home + path).path());
            test::writeFile(home + path, "x");
        }
        const LinuxInstallation installation(QDir::cleanPath(home + c.program), temporaryHome.dataHome());
        const auto inHome = [&home](QStringList paths) {
            for (auto& path : paths) {
                path = home + path;
            }
            paths.sort();
            return paths.join('\n').toStdString();
        };
        QStringList files = installation.userOwnedFiles();
        files.sort();
        EXPECT_EQ(files.join('\n').toStdString(), inHome(c.files)) << c.name;
        EXPECT_EQ(installation.userOwnedFolders().join('\n').toStdString(), inHome(c.folders)) << c.name;
        EXPECT_EQ(installation.systemOwnedReason().isEmpty(), !c.files.isEmpty()) << c.name;
    }
}

} // namespace
} // namespace kivo
