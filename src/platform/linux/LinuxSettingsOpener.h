#pragma once

#include "browser-monitor/ports/SettingsOpener.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kivo {

// Turns on the session's accessibility bus (what granting access means here) and opens the desktop's
// accessibility settings where it can tell which desktop runs: GNOME or KDE. Elsewhere there is no
// settings page to open and the answer is false.
class LinuxSettingsOpener final : public SettingsOpener {
public:
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;
    using BusSwitch = std::function<bool()>;

    // An empty launcher starts detached processes. `busSwitch` is the tree's own, so that the tree Kivo
    // reads with counts the bus on at once.
    LinuxSettingsOpener(Launcher launcher, BusSwitch busSwitch);

    bool openAccessibilitySettings() override;
    // No browser is scripted here, so none can refuse it: the nearest page is the accessibility one.
    bool openAutomationSettings() override;

    // The settings command for a desktop named as in XDG_CURRENT_DESKTOP; empty when there is none.
    static QStringList settingsCommand(const QString& currentDesktop);

private:
    Launcher launcher_;
    BusSwitch busSwitch_;
};

} // namespace kivo
