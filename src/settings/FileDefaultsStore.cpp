#include "settings/FileDefaultsStore.h"

#include "core/Log.h"
#include "settings/AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo {
namespace {

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// What a file that is not a regular file is, for the reason shown.
QString kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return QStringLiteral("a directory");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("a named pipe");
    }
    if (S_ISSOCK(mode)) {
        return QStringLiteral("a socket");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QStringLiteral("a device");
    }
    return QStringLiteral("not a regular file");
}

} // namespace

FileDefaultsStore::FileDefaultsStore(QString directory) : directory_(std::move(directory)) {
    if (const auto error = acquireLock(); !error.empty()) {
        // Nothing can be written yet anyway; the first write tries again and reports why it failed.
        qCWarning(lcSettings, "Cannot lock the settings in %s: %s", qUtf8Printable(directory_),
                  error.c_str());
    }
    load();
    if (lockFd_ >= 0) {
        removeLeftoverTemporaries();
    }
}

FileDefaultsStore::~FileDefaultsStore() {
    if (lockFd_ >= 0) {
        ::close(lockFd_);
    }
}

QString FileDefaultsStore::standardDirectory() {
    auto base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/kivo");
}

QString FileDefaultsStore::filePath() const {
    return directory_ + QLatin1Char('/') + fileName();
}

std::string FileDefaultsStore::acquireLock() {
    if (lockFd_ >= 0 || !blockedReason_.isEmpty()) {
        return {};
    }
    if (!QDir().mkpath(directory_)) {
        return "cannot create the directory " + directory_.toStdString();
    }
    const auto lockPath = directory_ + QLatin1Char('/') + lockFileName();
    // Read-only is enough for flock, and lets an existing lock file be used on a read-only mount.
    const int fd = ::open(QFile::encodeName(lockPath).constData(),
                          O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        return "cannot open " + lockPath.toStdString() + ": " + std::strerror(errno);
    }
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK) {
            return "cannot lock " + lockPath.toStdString() + ": " + std::strerror(error);
        }
        blockedReason_ = QStringLiteral("settings are in use by another Kivo process");
        qCCritical(lcSettings,
                   "The settings in %s are in use by another Kivo process; this one will not save",
                   qUtf8Printable(directory_));
        return {};
    }
    lockFd_ = fd;
    return {};
}

void FileDefaultsStore::load() {
    const auto path = filePath();
    const auto name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        // Absent, a link to a file not made yet, or no directory yet: the first save makes it or says why.
        if (errno != ENOENT && errno != ENOTDIR) {
            refuseUnreadable(errorText(errno));
        }
        return;
    }
    // Checked before opening: opening a device or a pipe can block or have effects of its own.
    if (!S_ISREG(info.st_mode)) {
        if (blockedReason_.isEmpty()) {
            blockedReason_ = QStringLiteral("the document %1 is %2, not a file; it is left as it is")
                                 .arg(path, kindOf(info.st_mode));
            qCCritical(lcSettings, "Settings document %s is %s; settings will not be saved",
                       qUtf8Printable(path), qUtf8Printable(kindOf(info.st_mode)));
        }
        return;
    }
    if (info.st_size > kMaximumDocumentBytes) {
        moveAside(QStringLiteral("it is larger than %1 bytes").arg(kMaximumDocumentBytes));
        return;
    }
    // Non-blocking in case the file was swapped for a pipe since the check above.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        refuseUnreadable(errorText(errno));
        return;
    }
    QByteArray bytes;
    bool readable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    int readError = readable ? 0 : EINVAL;
    // The file may grow while it is read; never more than the bound plus one byte is taken in.
    while (readable && bytes.size() <= kMaximumDocumentBytes) {
        const auto chunk = std::min<qsizetype>(1 << 20, kMaximumDocumentBytes + 1 - bytes.size());
        const auto before = bytes.size();
        bytes.resize(before + chunk);
        const auto n = ::read(fd, bytes.data() + before, static_cast<std::size_t>(chunk));
        if (n < 0 && errno == EINTR) {
            bytes.resize(before);
            continue;
        }
        if (n < 0) {
            readError = errno;
            readable = false;
        }
        bytes.resize(before + std::max<qsizetype>(n, 0));
        if (n <= 0) {
            break;
        }
    }
    ::close(fd);
    if (!readable) {
        refuseUnreadable(errorText(readError));
        return;
    }
    if (bytes.size() > kMaximumDocumentBytes) {
        moveAside(QStringLiteral("it is larger than %1 bytes").arg(kMaximumDocumentBytes));
        return;
    }
    parse(bytes);
}

void FileDefaultsStore::parse(const QByteArray& bytes) {
    // Copying or writing a JSON value recurses once per level, so a hand-made document nested a few
    // hundred thousand levels deep would overflow the stack at the first save. No stored form comes
    // near the limit; deeper parts are dropped while parsing and the document is treated as unreadable.
    bool tooDeep = false;
    const nlohmann::json::parser_callback_t limitDepth =
        [&tooDeep](int depth, nlohmann::json::parse_event_t event, nlohmann::json&) {
            if ((event == nlohmann::json::parse_event_t::object_start ||
                 event == nlohmann::json::parse_event_t::array_start) &&
                depth >= kMaximumDepth) {
                tooDeep = true;
                return false;
            }
            return true;
        };
    auto parsed =
        nlohmann::json::parse(bytes.constData(), bytes.constData() + bytes.size(), limitDepth, false);
    if (tooDeep) {
        moveAside(QStringLiteral("it is nested too deeply"));
        return;
    }
    if (parsed.is_discarded()) {
        moveAside(QStringLiteral("it is not valid JSON"));
        return;
    }
    if (!parsed.is_object()) {
        moveAside(QStringLiteral("it is not a JSON object"));
        return;
    }
    replaceDocument(std::move(parsed));
}

void FileDefaultsStore::refuseUnreadable(const QString& why) {
    if (!blockedReason_.isEmpty()) {
        return;
    }
    const auto path = filePath();
    blockedReason_ = QStringLiteral("the document %1 cannot be read: %2").arg(path, why);
    qCCritical(lcSettings, "Cannot read %s (%s); settings will not be saved", qUtf8Printable(path),
               qUtf8Printable(why));
}

void FileDefaultsStore::moveAside(const QString& why) {
    const auto path = filePath();
    if (lockFd_ < 0) {
        // Not ours to move: another process may be using it, or nothing can be written here anyway.
        if (blockedReason_.isEmpty()) {
            blockedReason_ = QStringLiteral("the unreadable document %1 is left as it is").arg(path);
        }
        qCCritical(lcSettings, "Settings document %s is unreadable (%s); left as it is", qUtf8Printable(path),
                   qUtf8Printable(why));
        return;
    }
    const auto stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    auto target = path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n) {
        target = path + QStringLiteral(".unreadable-") + stamp + QLatin1Char('-') + QString::number(n);
    }
    // link + unlink rather than rename: link never replaces an existing file, so a copy made in the
    // same second by another process is not lost either.
    const auto from = QFile::encodeName(path);
    const auto to = QFile::encodeName(target);
    if (::link(from.constData(), to.constData()) != 0 || ::unlink(from.constData()) != 0) {
        const int error = errno;
        blockedReason_ = QStringLiteral("the unreadable document %1 could not be moved aside: %2")
                             .arg(path, errorText(error));
        qCCritical(lcSettings,
                   "Settings document %s is unreadable (%s) and could not be moved aside (%s); "
                   "settings will not be saved",
                   qUtf8Printable(path), qUtf8Printable(why), std::strerror(error));
        return;
    }
    AtomicFile::syncDirectory(directory_);
    movedAsidePath_ = target;
    qCWarning(lcSettings, "Settings document %s is unreadable (%s); moved it to %s and started afresh",
              qUtf8Printable(path), qUtf8Printable(why), qUtf8Printable(target));
}

void FileDefaultsStore::removeLeftoverTemporaries() {
    // Only the lock holder writes, so any temporary file there now was left by a writer that was killed.
    const QFileInfo target(AtomicFile::writeTarget(filePath()));
    QStringList directories{directory_};
    if (target.absolutePath() != QFileInfo(directory_).absoluteFilePath()) {
        directories << target.absolutePath();
    }
    for (const auto& directory : directories) {
        const QDir dir(directory);
        bool removed = false;
        for (const auto& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (!AtomicFile::isTemporaryName(entry, target.fileName()) &&
                !AtomicFile::isTemporaryName(entry, fileName())) {
                continue;
            }
            const auto path = QFile::encodeName(dir.filePath(entry));
            struct stat info {};
            if (::lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
                ::unlink(path.constData()) == 0) {
                qCInfo(lcSettings, "Removed %s, left by an interrupted save",
                       qUtf8Printable(dir.filePath(entry)));
                removed = true;
            }
        }
        if (removed) {
            AtomicFile::syncDirectory(directory);
        }
    }
}

DefaultsWriteResult FileDefaultsStore::persist(const nlohmann::json& document) {
    if (!blockedReason_.isEmpty()) {
        return DefaultsWriteResult::failure(blockedReason_.toStdString());
    }
    // The lock could not be taken at load (a directory that did not exist and could not be made, say).
    if (auto error = acquireLock(); !error.empty() || lockFd_ < 0) {
        return DefaultsWriteResult::failure(error.empty() ? blockedReason_.toStdString() : std::move(error));
    }
    std::string text;
    try {
        text = document.dump(2) + "\n";
    } catch (const nlohmann::json::exception& e) {
        return DefaultsWriteResult::failure(std::string("the document cannot be written as JSON: ") +
                                            e.what());
    }
    auto error = AtomicFile::write(filePath(), QByteArray::fromStdString(text), 0600, interruption_);
    return error.empty() ? DefaultsWriteResult::success() : DefaultsWriteResult::failure(std::move(error));
}

DefaultsWriteResult FileDefaultsStore::removeKeptAsideDocuments() {
    if (!blockedReason_.isEmpty()) {
        return DefaultsWriteResult::failure(blockedReason_.toStdString());
    }
    const QDir dir(directory_);
    const auto names = dir.entryList({fileName() + QStringLiteral(".unreadable-*")},
                                     QDir::Files | QDir::System | QDir::Hidden);
    std::string error;
    for (const auto& name : names) {
        const auto path = dir.filePath(name);
        if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT && error.empty()) {
            error = "cannot remove " + path.toStdString() + ": " + std::strerror(errno);
        }
    }
    if (!names.isEmpty()) {
        AtomicFile::syncDirectory(directory_);
    }
    if (!error.empty()) {
        qCCritical(lcSettings, "Could not remove a kept-aside document: %s", error.c_str());
        return DefaultsWriteResult::failure(std::move(error));
    }
    return DefaultsWriteResult::success();
}

} // namespace kivo
