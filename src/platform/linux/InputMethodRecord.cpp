#include "platform/linux/InputMethodRecord.h"

#include "core/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace kivo {

QString InputMethodRecord::standardPath() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) {
        state = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return state + QStringLiteral("/kivo/input-method.json");
}

InputMethodRecord::InputMethodRecord(QString path) : path_(std::move(path)) {}

bool InputMethodRecord::save(const QJsonObject& record) {
    const std::lock_guard lock(mutex_);
    if (path_.isEmpty() || !QDir().mkpath(QFileInfo(path_).absolutePath())) {
        return false;
    }
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(QJsonDocument(record).toJson(QJsonDocument::Compact));
    return file.commit();
}

std::optional<QJsonObject> InputMethodRecord::load() {
    const std::lock_guard lock(mutex_);
    QFile file(path_);
    if (path_.isEmpty() || !file.exists()) {
        return std::nullopt;
    }
    QJsonParseError error{};
    const auto document = file.open(QIODevice::ReadOnly)
                              ? QJsonDocument::fromJson(file.read(64 * 1024), &error)
                              : QJsonDocument();
    if (!document.isObject()) {
        const QString aside = path_ + QStringLiteral(".unreadable");
        QFile::remove(aside);
        QFile::rename(path_, aside);
        qCWarning(lcAutomation, "the input method record could not be read; kept aside");
        return std::nullopt;
    }
    return document.object();
}

void InputMethodRecord::clear() {
    const std::lock_guard lock(mutex_);
    if (!path_.isEmpty()) {
        QFile::remove(path_);
    }
}

} // namespace kivo
