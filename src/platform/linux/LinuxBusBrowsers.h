#pragma once

#include "browser-monitor/ports/BusBrowsers.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace kivo {

// The supported browsers on the session's accessibility bus, told by their processes: each bus
// application's process (as the bus knows it) is looked up in /proc, by its executable, its first
// argument or its command name, with the numbers its PID namespaces give it. Only a Wayland session can
// hide a browser's windows from Kivo, so elsewhere the bus is not read at all and no browser is on it.
class LinuxBusBrowsers final : public BusBrowsers {
public:
    // The bus processes' numbers; none when the bus cannot be read. Called on a worker thread.
    using BusProcesses = std::function<std::optional<std::vector<int>>()>;

    LinuxBusBrowsers(BusProcesses busProcesses, bool waylandSession,
                     QString procRoot = QStringLiteral("/proc"));

    std::optional<std::vector<Browser>> browsers() override;

    // Whether this process runs in a Wayland session (its display or its session type says so).
    static bool isWaylandSession();
    // The browser a process runs, read under `procRoot`; none when the process is not a supported
    // browser's or is gone.
    static std::optional<Browser> browserOfProcess(const QString& procRoot, int processId);

private:
    BusProcesses busProcesses_;
    bool waylandSession_;
    QString procRoot_;
};

} // namespace kivo
