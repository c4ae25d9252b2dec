#include "settings/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
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

std::string write(const QString& path, const QByteArray& contents, int mode,
                  const std::function<bool()>& interruptBeforeRename) {
    const auto directory = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(directory)) {
        return "cannot create the directory " + directory.toStdString();
    }
    const auto temporaryPath = path + QStringLiteral(".tmp");
    const auto temporaryName = QFile::encodeName(temporaryPath);

    // A leftover from an interrupted write (or anything planted there) is replaced, never followed.
    if (::unlink(temporaryName.constData()) != 0 && errno != ENOENT) {
        return systemError("cannot remove", temporaryPath, errno);
    }
    const int fd = ::open(temporaryName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          static_cast<mode_t>(mode));
    if (fd < 0) {
        return systemError("cannot create", temporaryPath, errno);
    }
    if (!writeAll(fd, contents) || ::fsync(fd) != 0) {
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
    if (::rename(temporaryName.constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        ::unlink(temporaryName.constData());
        return systemError("cannot replace", path, error);
    }
    // The new file is in place and readable; only its durability across a power cut would be in doubt,
    // which is not worth failing the write over.
    syncDirectory(directory);
    return {};
}

} // namespace kivo::AtomicFile
