#pragma once

#include "app/language/Localizer.h"
#include "app/ports/ActivationPolicyPort.h"
#include "app/ports/ApplicationWindows.h"
#include "app/shell/AppDelegate.h"
#include "domain/TerminationReason.h"

#include <QObject>

#include <memory>

namespace kivo {

class MainWindow;
class QtShieldWindowSystem;
class QtTranslations;
class TrayItem;
struct UiContext;

// The running application on a desktop: the delegate with every long-lived object, the tray item, the
// shield windows and the main window, wired together. main() builds one with the Linux back ends; the
// screenshot program builds one with simulated ones.
class DesktopShell : public QObject, public ApplicationWindows {
    Q_OBJECT
public:
    // `activationPolicy` applies a policy; which windows are up is answered here.
    DesktopShell(AppDelegate::BackEnds backEnds, ActivationPolicyPort& activationPolicy,
                 QObject* parent = nullptr);
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
    std::unique_ptr<QtTranslations> qtTranslations_;
    std::unique_ptr<QtShieldWindowSystem> shieldWindows_;
    std::unique_ptr<TrayItem> tray_;
    std::unique_ptr<WindowPolicy> policy_;
    std::unique_ptr<AppDelegate> delegate_;
    std::unique_ptr<UiContext> context_;
    std::unique_ptr<MainWindow> window_;
    bool terminating_ = false;
};

} // namespace kivo
