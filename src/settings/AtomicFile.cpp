#include "settings/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo::AtomicFile {
namespace {

std::string systemError(const char* what, const QString& path, int error) {
    return std::string(what) + " " + path.toStdString() + ": " + std::strerror(error);
}

// Writes all of `data` to `fd`, riding over short writes and interruptions.
bool writeAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const auto n = ::write(fd, data.constData() + done, static_cast<std::size_t>(data.size() - done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

bool syncDirectory(const QString& directory) {
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

QString writeTarget(const QString& path) {
    auto current = QFileInfo(path).absoluteFilePath();
    // The kernel gives up on longer chains too; the last link reached is then replaced, and the rename
    // reports the loop if there is one.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        const auto name = QFile::encodeName(current);
        if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            break;
        }
        QByteArray target(PATH_MAX, '\0');
        const auto length =
            ::readlink(name.constData(), target.data(), static_cast<std::size_t>(target.size()));
        if (length <= 0 || length >= target.size()) {
            break;
        }
        target.truncate(length);
        const auto decoded = QFile::decodeName(target);
        current = QDir::cleanPath(QDir::isAbsolutePath(decoded)
                                      ? decoded
                                      : QFileInfo(current).absolutePath() + QLatin1Char('/') + decoded);
    }
    return current;
}

bool isTemporaryName(const QString& fileName, const QString& targetName) {
    // "<name>.tmp" is what writes left behind before each write had a name of its own.
    const auto prefix = targetName + QStringLiteral(".tmp");
    return fileName == prefix ||
           (fileName.size() == prefix.size() + 7 && fileName.startsWith(prefix + QLatin1Char('-')));
}

std::string write(const QString& path, const QByteArray& contents, int mode,
                  const std::function<bool()>& interruptBeforeRename) {
    const auto target = writeTarget(path);
    const auto directory = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(directory)) {
        return "cannot create the directory " + directory.toStdString();
    }
    auto temporaryName = QFile::encodeName(target + QStringLiteral(".tmp-XXXXXX"));
    const int fd = ::mkostemp(temporaryName.data(), O_CLOEXEC);
    const auto temporaryPath = QFile::decodeName(temporaryName);
    if (fd < 0) {
        return systemError("cannot create a temporary file beside", target, errno);
    }
    if (::fchmod(fd, static_cast<mode_t>(mode)) != 0 || !writeAll(fd, contents) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporaryName.constData());
        return systemError("cannot write", temporaryPath, error);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporaryName.constData());
        return systemError("cannot write", temporaryPath, error);
    }
    if (interruptBeforeRename && interruptBeforeRename()) {
        return "write interrupted before the rename";
    }
    if (::rename(temporaryName.constData(), QFile::encodeName(target).constData()) != 0) {
        const int error = errno;
        ::unlink(temporaryName.constData());
        return systemError("cannot replace", target, error);
    }
    // The new file is in place and readable; only its durability across a power cut would be in doubt,
    // which is not worth failing the write over.
    syncDirectory(directory);
    return {};
}

} // namespace kivo::AtomicFile
