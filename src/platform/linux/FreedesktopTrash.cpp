#include "platform/linux/FreedesktopTrash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace kivo {

namespace {

// "dir/" names what "dir" leads to, so a link spelled with a slash would be followed rather than
// refused: judge and move the entry itself.
QString withoutTrailingSlashes(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    return path;
}

} // namespace

QString FreedesktopTrash::refusal(const QString& requested) {
    const auto path = withoutTrailingSlashes(requested);
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

QString FreedesktopTrash::moveToTrash(const QString& requested) {
    if (auto why = refusal(requested); !why.isEmpty()) {
        return why;
    }
    const auto path = withoutTrailingSlashes(requested);
    QFile file(path);
    if (!file.moveToTrash()) {
        return QStringLiteral("%1 could not be moved to the trash: %2").arg(path, file.errorString());
    }
    return {};
}

} // namespace kivo
