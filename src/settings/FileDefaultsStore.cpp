#include "settings/FileDefaultsStore.h"

#include "core/Log.h"
#include "settings/AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace kivo {

FileDefaultsStore::FileDefaultsStore(QString directory) : directory_(std::move(directory)) {
    load();
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

void FileDefaultsStore::load() {
    const auto path = filePath();
    QFile file(path);
    if (!file.exists()) {
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        blockedReason_ = QStringLiteral("the document %1 cannot be read: %2").arg(path, file.errorString());
        qCCritical(lcSettings, "Cannot read %s (%s); settings will not be saved", qUtf8Printable(path),
                   qUtf8Printable(file.errorString()));
        return;
    }
    const auto bytes = file.readAll();
    file.close();
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

void FileDefaultsStore::moveAside(const QString& why) {
    const auto path = filePath();
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
                             .arg(path, QString::fromLocal8Bit(std::strerror(error)));
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

DefaultsWriteResult FileDefaultsStore::persist(const nlohmann::json& document) {
    if (!blockedReason_.isEmpty()) {
        return DefaultsWriteResult::failure(blockedReason_.toStdString());
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
