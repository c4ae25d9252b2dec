#include "platform/linux/FreedesktopTrash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace kivo {

QString FreedesktopTrash::refusal(const QString& path) {
    if (path.isEmpty() || QDir::isRelativePath(path)) {
        return QStringLiteral("%1 is not an absolute path").arg(path);
    }
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return QStringLiteral("%1 does not exist").arg(path);
    }
    if (S_ISLNK(info.st_mode)) {
        return QStringLiteral("%1 is a symbolic link").arg(path);
    }
    if (info.st_uid != ::getuid()) {
        return QStringLiteral("%1 is not owned by the user").arg(path);
    }
    // Compare real locations: the containing folder may itself be reached through links or "..".
    const QFileInfo file(path);
    const auto parent = QFileInfo(file.absolutePath()).canonicalFilePath();
    const auto home = QFileInfo(QDir::homePath()).canonicalFilePath();
    if (parent.isEmpty() || home.isEmpty() || home == QLatin1String("/")) {
        return QStringLiteral("%1 is not inside the home directory").arg(path);
    }
    const auto location = parent + QLatin1Char('/') + file.fileName();
    if (file.fileName() == QLatin1String("..") || file.fileName() == QLatin1String(".") ||
        !location.startsWith(home + QLatin1Char('/'))) {
        return QStringLiteral("%1 is not inside the home directory").arg(path);
    }
    return {};
}

QString FreedesktopTrash::moveToTrash(const QString& path) {
    if (auto why = refusal(path); !why.isEmpty()) {
        return why;
    }
    QFile file(path);
    if (!file.moveToTrash()) {
        return QStringLiteral("%1 could not be moved to the trash: %2").arg(path, file.errorString());
    }
    return {};
}

} // namespace kivo
