#include "platform/linux/LinuxInstallation.h"

#include "KivoInstallLayout.h"
#include "platform/linux/FreedesktopTrash.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <initializer_list>

namespace kivo {

namespace {

QStringList fromLiterals(std::initializer_list<const char*> paths) {
    QStringList list;
    for (const char* path : paths) {
        list << QString::fromUtf8(path);
    }
    return list;
}

QStringList installedFolders() {
    return fromLiterals({KIVO_INSTALLED_FOLDERS});
}

// A dangling link is still there to be taken away.
bool isPresent(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

LinuxInstallation::LinuxInstallation(QString programPath, QString dataHome)
    : programPath_(std::move(programPath)), dataHome_(std::move(dataHome)) {}

LinuxInstallation LinuxInstallation::forRunningProgram() {
    return LinuxInstallation(QCoreApplication::applicationFilePath(),
                             QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QStringList LinuxInstallation::installedFiles() {
    return fromLiterals({KIVO_INSTALLED_FILES});
}

QString LinuxInstallation::prefix() const {
    const QString program = QStringLiteral(KIVO_INSTALLED_PROGRAM);
    const QString tail = QLatin1Char('/') + program;
    if (program.isEmpty() || !programPath_.endsWith(tail)) {
        return {};
    }
    return programPath_.chopped(tail.size());
}

QStringList LinuxInstallation::userOwnedFiles() const {
    if (!systemOwnedReason().isEmpty()) {
        return {};
    }
    QStringList files;
    if (const QString root = prefix(); !root.isEmpty()) {
        for (const QString& relative : installedFiles()) {
            files << root + QLatin1Char('/') + relative;
        }
    } else {
        // Run from elsewhere (a build tree): the program itself and, as desktops find them, the entries
        // for Kivo in the user's data directory (not the statement folder, which only an install has).
        files << programPath_;
        const QString dataDir = QStringLiteral(KIVO_INSTALL_DATADIR) + QLatin1Char('/');
        const QStringList folders = installedFolders();
        for (const QString& relative : installedFiles()) {
            const bool inOwnFolder = std::any_of(folders.begin(), folders.end(), [&](const QString& folder) {
                return relative.startsWith(folder + QLatin1Char('/'));
            });
            if (relative.startsWith(dataDir) && !inOwnFolder) {
                files << dataHome_ + QLatin1Char('/') + relative.mid(dataDir.size());
            }
        }
    }
    files.removeIf([](const QString& path) { return !isPresent(path); });
    return files;
}

QStringList LinuxInstallation::userOwnedFolders() const {
    const QString root = prefix();
    if (root.isEmpty() || !systemOwnedReason().isEmpty()) {
        return {};
    }
    QStringList folders;
    for (const QString& relative : installedFolders()) {
        const QString folder = QDir::cleanPath(root + QLatin1Char('/') + relative);
        // Never the prefix itself, nor anything above it.
        if (folder.startsWith(root + QLatin1Char('/')) && QFileInfo(folder).isDir()) {
            folders << folder;
        }
    }
    // A folder inside another is emptied first.
    std::sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) {
        return a.count(QLatin1Char('/')) > b.count(QLatin1Char('/'));
    });
    return folders;
}

QString LinuxInstallation::systemOwnedReason() const {
    // The trash guard already refuses anything outside the home or owned by someone else.
    return FreedesktopTrash::refusal(programPath_);
}

} // namespace kivo
