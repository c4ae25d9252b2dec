#include "platform/linux/XdgAutostartLoginItem.h"

#include "settings/AtomicFile.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace kivo {
namespace {

bool isTrue(const QString& value) {
    return value.trimmed() == QLatin1String("true");
}
bool isFalse(const QString& value) {
    return value.trimmed() == QLatin1String("false");
}

} // namespace

XdgAutostartLoginItem::XdgAutostartLoginItem(QString autostartDirectory, QString programPath)
    : directory_(std::move(autostartDirectory)), programPath_(std::move(programPath)) {}

QString XdgAutostartLoginItem::standardDirectory() {
    auto base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/autostart");
}

QString XdgAutostartLoginItem::entryFileName() {
    return QStringLiteral("app.kivo.Kivo.desktop");
}

QString XdgAutostartLoginItem::entryPath() const {
    return directory_ + QLatin1Char('/') + entryFileName();
}

QString XdgAutostartLoginItem::execValue(const QString& programPath) {
    // Quoting rules of an Exec argument first (inside double quotes, backslash-escape " ` $ \), then "%"
    // doubled so it is no field code, then the escapes of a string value (a backslash becomes "\\").
    QString quoted = QStringLiteral("\"");
    for (const QChar c : programPath) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return {};
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\')) {
            quoted += QLatin1Char('\\');
        }
        if (c == QLatin1Char('%')) {
            quoted += QLatin1Char('%');
        }
        quoted += c;
    }
    quoted += QLatin1Char('"');
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return quoted;
}

LoginItemStatus XdgAutostartLoginItem::status() const {
    QFile file(entryPath());
    if (!file.exists()) {
        return LoginItemStatus::NotRegistered;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return LoginItemStatus::NotFound;
    }
    bool inMainGroup = false;
    bool sawMainGroup = false;
    bool off = false;
    while (!file.atEnd()) {
        const auto line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            sawMainGroup = sawMainGroup || inMainGroup;
            continue;
        }
        if (!inMainGroup || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const auto equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            continue;
        }
        const auto key = line.left(equals).trimmed();
        const auto value = line.mid(equals + 1);
        if (key == QLatin1String("Hidden") && isTrue(value)) {
            off = true;
        }
        if (key == QLatin1String("X-GNOME-Autostart-enabled") && isFalse(value)) {
            off = true;
        }
    }
    if (!sawMainGroup) {
        return LoginItemStatus::NotFound;
    }
    return off ? LoginItemStatus::NotRegistered : LoginItemStatus::Enabled;
}

QString XdgAutostartLoginItem::registerItem() {
    const auto exec = execValue(programPath_);
    if (programPath_.isEmpty() || exec.isEmpty()) {
        return QStringLiteral("the program path cannot be written into an autostart entry");
    }
    const auto contents = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Kivo\n"
                                         "Exec=%1\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(exec);
    const auto error = AtomicFile::write(entryPath(), contents.toUtf8(), 0644);
    return QString::fromStdString(error);
}

QString XdgAutostartLoginItem::unregisterItem() {
    const auto name = QFile::encodeName(entryPath());
    if (::unlink(name.constData()) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return {};
        }
        return QStringLiteral("cannot remove %1: %2")
            .arg(entryPath(), QString::fromLocal8Bit(std::strerror(errno)));
    }
    AtomicFile::syncDirectory(directory_);
    return {};
}

} // namespace kivo
