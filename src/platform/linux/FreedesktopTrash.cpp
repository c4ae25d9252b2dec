#include "platform/linux/FreedesktopTrash.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
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

// Why `requested` may not be moved or removed, else empty with `location` set to its real path.
QString judge(const QString& requested, QString& location) {
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
    location = parent + QLatin1Char('/') + file.fileName();
    if (file.fileName() == QLatin1String("..") || file.fileName() == QLatin1String(".") ||
        !location.startsWith(home + QLatin1Char('/'))) {
        return QStringLiteral("%1 is not inside the home directory").arg(path);
    }
    return {};
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The home trash and its two folders, made private as the trash holds what the user threw away.
QString makeTrash(const QString& trash) {
    QDir().mkpath(QFileInfo(trash).path());
    for (const QString& folder : {trash, trash + QStringLiteral("/files"), trash + QStringLiteral("/info")}) {
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
            const int error = errno;
            return QStringLiteral("the trash folder %1 cannot be made: %2").arg(folder, systemError(error));
        }
        if (!QFileInfo(folder).isDir()) {
            return QStringLiteral("the trash folder %1 is not a folder").arg(folder);
        }
    }
    return {};
}

// 0, or why not all of `data` was written.
int writeAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : EIO;
        }
        done += n;
    }
    return 0;
}

// Fails with EEXIST rather than replace what holds the name already.
int renameWithoutReplacing(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without the flag: the name was free a moment ago.
    struct stat info {};
    if (::lstat(to.constData(), &info) == 0) {
        return EEXIST;
    }
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

constexpr int kNameAttempts = 1000;

} // namespace

QString FreedesktopTrash::refusal(const QString& path) {
    QString location;
    return judge(path, location);
}

QString FreedesktopTrash::moveToTrash(const QString& requested) {
    QString location;
    if (auto why = judge(requested, location); !why.isEmpty()) {
        return why;
    }
    const auto failed = [&location](const QString& why) {
        return QStringLiteral("%1 could not be moved to the trash: %2").arg(location, why);
    };
    const QString trash =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash");
    if (auto why = makeTrash(trash); !why.isEmpty()) {
        return failed(why);
    }
    // The path is written escaped as in addresses (all but "/" and the unreserved characters), byte for
    // byte, so a name with "%", a space or any encoding is restored where it was.
    const QByteArray source = QFile::encodeName(location);
    const QByteArray info =
        "[Trash Info]\nPath=" + source.toPercentEncoding("/") + "\nDeletionDate=" +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toUtf8() + "\n";
    const QString name = QFileInfo(location).fileName();
    for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
        const QString trashedName = attempt == 1 ? name : QStringLiteral("%1.%2").arg(name).arg(attempt);
        const QByteArray infoPath =
            QFile::encodeName(trash + QStringLiteral("/info/") + trashedName + QStringLiteral(".trashinfo"));
        // The information file comes first, made exclusively: two entries of one name never share it.
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            const int error = errno;
            return failed(systemError(error));
        }
        int error = writeAll(fd, info);
        if (::close(fd) != 0 && error == 0) {
            error = errno;
        }
        if (error == 0) {
            error = renameWithoutReplacing(
                source, QFile::encodeName(trash + QStringLiteral("/files/") + trashedName));
        }
        if (error == 0) {
            return {};
        }
        ::unlink(infoPath.constData());
        if (error == EEXIST) {
            continue; // a file left in the trash without its information file holds the name
        }
        return failed(error == EXDEV ? QStringLiteral("it is on another file system than the trash")
                                     : systemError(error));
    }
    return failed(QStringLiteral("the trash has no free name for it"));
}

QString FreedesktopTrash::removeEmptyFolder(const QString& requested) {
    QString location;
    if (auto why = judge(requested, location); !why.isEmpty()) {
        return why;
    }
    if (::rmdir(QFile::encodeName(location).constData()) != 0) {
        const int error = errno;
        if (error == ENOTEMPTY || error == EEXIST) {
            return QStringLiteral("%1 is not empty").arg(location);
        }
        return QStringLiteral("%1 could not be removed: %2").arg(location, systemError(error));
    }
    return {};
}

} // namespace kivo
