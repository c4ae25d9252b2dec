#include "platform/linux/LinuxBusBrowsers.h"

#include "platform/linux/LinuxBrowserIdentity.h"

#include <QFile>
#include <QFileInfo>

namespace kivo {
namespace {

// Small files of /proc: a bound keeps a strange one from costing much.
constexpr qint64 kReadLimit = 64 * 1024;

QByteArray readSmall(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(kReadLimit) : QByteArray();
}

QString fileName(const QString& path) {
    return path.section(QLatin1Char('/'), -1);
}

// The process's numbers from the outermost PID namespace to the innermost; just its own when the kernel
// does not tell.
std::vector<int> namespaceNumbers(const QString& procRoot, int processId) {
    for (const QByteArray& line :
         readSmall(procRoot + QStringLiteral("/%1/status").arg(processId)).split('\n')) {
        if (!line.startsWith("NSpid:")) {
            continue;
        }
        std::vector<int> numbers;
        for (const QByteArray& field : line.mid(6).simplified().split(' ')) {
            bool ok = false;
            const int number = field.toInt(&ok);
            if (ok && number > 0) {
                numbers.push_back(number);
            }
        }
        if (!numbers.empty() && numbers.front() == processId) {
            return numbers;
        }
    }
    return {processId};
}

} // namespace

LinuxBusBrowsers::LinuxBusBrowsers(BusProcesses busProcesses, bool waylandSession, QString procRoot)
    : busProcesses_(std::move(busProcesses)), waylandSession_(waylandSession),
      procRoot_(std::move(procRoot)) {}

bool LinuxBusBrowsers::isWaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

std::optional<BusBrowsers::Browser> LinuxBusBrowsers::browserOfProcess(const QString& procRoot,
                                                                       int processId) {
    const QString dir = procRoot + QStringLiteral("/%1").arg(processId);
    // The executable names the program best; a sandbox may hide it, and a wrapper may run the program
    // through a loader, so the first argument and the command name are asked next.
    QStringList candidates;
    candidates << fileName(QFileInfo(dir + QStringLiteral("/exe")).symLinkTarget());
    candidates << fileName(
        QString::fromLocal8Bit(readSmall(dir + QStringLiteral("/cmdline")).split('\0').first()));
    candidates << QString::fromLocal8Bit(readSmall(dir + QStringLiteral("/comm")).trimmed());
    for (QString candidate : candidates) {
        // A program replaced on disk while it runs (an upgrade) is shown with this suffix.
        candidate.remove(QStringLiteral(" (deleted)"));
        if (candidate.isEmpty()) {
            continue;
        }
        const std::string name = candidate.toStdString();
        if (auto bundleId = LinuxBrowserIdentity::bundleIdForProgram(name)) {
            return Browser{*bundleId, LinuxBrowserIdentity::displayNameForProgram(name).value_or(""),
                           namespaceNumbers(procRoot, processId)};
        }
    }
    return std::nullopt;
}

std::optional<std::vector<BusBrowsers::Browser>> LinuxBusBrowsers::browsers() {
    if (!waylandSession_) {
        return std::vector<Browser>{};
    }
    const auto processes = busProcesses_ ? busProcesses_() : std::nullopt;
    if (!processes) {
        return std::nullopt;
    }
    std::vector<Browser> found;
    for (const int processId : *processes) {
        if (auto browser = browserOfProcess(procRoot_, processId)) {
            found.push_back(std::move(*browser));
        }
    }
    return found;
}

} // namespace kivo
