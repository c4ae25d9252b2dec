#pragma once

#include "app/language/Localizer.h"
#include "app/ports/ApplicationWindows.h"
#include "app/ports/StatusItemPort.h"
#include "app/shell/AppDelegate.h"
#include "core/ManualClock.h"
#include "platform/simulated/SimulatedApplicationPorts.h"
#include "platform/simulated/SimulatedShieldWindowSystem.h"
#include "settings/MemoryDefaultsStore.h"

#include <QStringList>

#include <memory>

namespace kivo::test {

// The tray item as the delegate drives it.
struct RecordingStatusItem : StatusItemPort {
    int installs = 0;
    QString openTitle, quitTitle;
    std::function<void()> onOpen, onQuit;
    void install(const QString& open, const QString& quit, std::function<void()> openAction,
                 std::function<void()> quitAction) override {
        ++installs;
        openTitle = open;
        quitTitle = quit;
        onOpen = std::move(openAction);
        onQuit = std::move(quitAction);
    }
    void setTitles(const QString& open, const QString& quit) override {
        openTitle = open;
        quitTitle = quit;
    }
};

// The windows as the delegate drives them: counts of each request.
struct RecordingWindows : ApplicationWindows {
    int shown = 0, hidden = 0, terminations = 0;
    void showMainWindow() override { ++shown; }
    void endSheetsAndHideWindows() override { ++hidden; }
    void terminate() override { ++terminations; }
};

// A whole application delegate over simulated ports, a manual clock and a defaults database in memory;
// a test of the real uninstall passes the trash and the installation it uses instead.
struct AppRig {
    explicit AppRig(nlohmann::json document = nlohmann::json::object(), QStringList languages = {"en"},
                    TrashPort* trash = nullptr, const Installation* installation = nullptr)
        : defaults(std::move(document)), ports(clock) {
        delegate = std::make_unique<AppDelegate>(AppDelegate::Ports{
            {defaults, clock, clock, ports.brightness, ports.events, ports.events, ports.browserPorts(),
             ports.settings, ports.loginItem, trash ? *trash : ports.trash,
             installation ? *installation : ports.installation, ports.updates, ports.errors,
             std::move(languages), "1.0.0"},
            localizer,
            shield,
            ports.activationPolicy,
            statusItem,
            windows});
    }

    ManualClock clock;
    MemoryDefaultsStore defaults;
    Localizer localizer;
    SimulatedApplicationPorts ports;
    SimulatedShieldWindowSystem shield;
    RecordingStatusItem statusItem;
    RecordingWindows windows;
    std::unique_ptr<AppDelegate> delegate;
};

} // namespace kivo::test
