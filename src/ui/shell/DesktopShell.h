#pragma once

#include "app/AppDelegate.h"
#include "app/Localizer.h"
#include "app/ports/ActivationPolicyPort.h"
#include "app/ports/ApplicationWindows.h"
#include "domain/TerminationReason.h"

#include <QObject>

#include <memory>

namespace kivo {

class MainWindow;
class QtShieldWindowSystem;
class TrayItem;
struct UiContext;

// The running application on a desktop: the delegate with every long-lived object, the tray item, the
// shield windows and the main window, wired together. main() builds one with the Linux back ends; the
// screenshot program builds one with simulated ones.
class DesktopShell : public QObject, public ApplicationWindows {
    Q_OBJECT
public:
    // The back ends the delegate needs that do not come from the interface itself.
    struct Ports {
        DefaultsStore& defaults;
        const Clock& clock;
        TimerFactory& timers;
        std::shared_ptr<DisplayBrightnessBackend> brightnessBackend;
        SystemWakeSource& wake;
        DisplayChangeSource& displayChanges;
        BrowserMonitor::Ports browser;
        SettingsOpener& settingsOpener;
        LoginItemPort& loginItem;
        ActivationPolicyPort& activationPolicy; // applies a policy; window visibility is answered here
        TrashPort& trash;
        const Installation& installation;
        UpdateDriver& updates;
        ErrorReporter& errors;
        QStringList preferredLanguages;
        QString runningVersion;
    };

    explicit DesktopShell(Ports ports, QObject* parent = nullptr);
    ~DesktopShell() override;

    // The launch wiring; shows the main window when `showWindow` (a start from the login item may not).
    void launch(bool showWindow = true);
    // A quit request from the user (Ctrl+Q, the window's Quit) or the system (session end, a signal).
    // Returns whether the application is ending.
    bool requestTermination(TerminationReason reason);

    AppDelegate& delegate() { return *delegate_; }
    MainWindow& mainWindow() { return *window_; }
    TrayItem& tray() { return *tray_; }
    QtShieldWindowSystem& shieldWindows() { return *shieldWindows_; }
    UiContext& context() { return *context_; }
    const Localizer& localizer() const { return localizer_; }

    // ApplicationWindows
    void showMainWindow() override;
    void endSheetsAndHideWindows() override;
    void terminate() override;

signals:
    void terminating();

private:
    class WindowPolicy;

    Localizer localizer_;
    std::unique_ptr<QtShieldWindowSystem> shieldWindows_;
    std::unique_ptr<TrayItem> tray_;
    std::unique_ptr<WindowPolicy> policy_;
    std::unique_ptr<AppDelegate> delegate_;
    std::unique_ptr<UiContext> context_;
    std::unique_ptr<MainWindow> window_;
    bool terminating_ = false;
};

} // namespace kivo
