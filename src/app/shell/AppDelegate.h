#pragma once

#include "app/sheets/QuitSource.h"
#include "browser-monitor/BrowserMonitor.h"
#include "domain/LanguagePreference.h"
#include "domain/TerminationReason.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <set>
#include <string>

namespace kivo {

class AccessibilityPermissionFlow;
class ActivationPolicyCoordinator;
class ActivationPolicyPort;
class ApplicationWindows;
class BlockRuleStore;
class BrightnessController;
class BrightnessTriggerStore;
class Clock;
class DefaultsStore;
class DisplayBrightnessBackend;
class DisplayChangeSource;
class EraseAllDataFlow;
class ErrorReporter;
class Installation;
class KivoUpdaterDelegate;
class KivoUserDriverDelegate;
class LanguageController;
class Localizer;
class LoginItemPort;
class LoginItemService;
class MenuBarController;
class OnboardingController;
class QuitConfirmationFlow;
class SettingsOpener;
class ShieldOverlayController;
class ShieldWindowSystem;
class StatusItemPort;
class SystemWakeSource;
class TimerFactory;
class TrashPort;
class UninstallFlow;
class UpdateDriver;

// Owns every long-lived object of the process, builds them in a fixed order, wires them at launch and
// answers the application's questions: reopen, termination, and the quit, erase and uninstall actions.
// Windows are reached through ports, so the delegate runs (and is tested) without a display.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    // The platform's back ends: what a front end passes through unchanged.
    struct BackEnds {
        DefaultsStore& defaults;
        const Clock& clock;
        TimerFactory& timers;
        std::shared_ptr<DisplayBrightnessBackend> brightnessBackend;
        SystemWakeSource& wake;
        DisplayChangeSource& displayChanges;
        BrowserMonitor::Ports browser;
        SettingsOpener& settingsOpener;
        LoginItemPort& loginItem;
        TrashPort& trash;
        const Installation& installation;
        UpdateDriver& updates;
        ErrorReporter& errors;
        QStringList preferredLanguages;
        QString runningVersion;
    };
    // The back ends and what the front end supplies itself: texts, windows, the tray item and which
    // windows are up.
    struct Ports : BackEnds {
        const Localizer& localizer;
        ShieldWindowSystem& shieldWindows;
        ActivationPolicyPort& activationPolicy;
        StatusItemPort& statusItem;
        ApplicationWindows& windows;
    };

    enum class SeedKind { blocklist, sunrise, sunset };

    explicit AppDelegate(Ports ports, QObject* parent = nullptr);
    ~AppDelegate() override;

    LanguageController& languageController() { return *languageController_; }
    OnboardingController& onboardingController() { return *onboardingController_; }
    // Made on first use.
    BlockRuleStore& store();
    ShieldOverlayController& overlayController() { return *overlayController_; }
    // Made on first use.
    BrightnessTriggerStore& brightnessTriggerStore();
    BrightnessController& brightnessController() { return *brightnessController_; }
    BrowserMonitor& browserMonitor() { return *browserMonitor_; }
    AccessibilityPermissionFlow& accessibilityFlow() { return *accessibilityFlow_; }
    ActivationPolicyCoordinator& activationPolicyCoordinator() { return *activationPolicyCoordinator_; }
    MenuBarController& menuBarController() { return *menuBarController_; }
    QuitConfirmationFlow& quitConfirmationFlow() { return *quitConfirmationFlow_; }
    EraseAllDataFlow& eraseAllDataFlow() { return *eraseAllDataFlow_; }
    UninstallFlow& uninstallFlow() { return *uninstallFlow_; }
    LoginItemService& loginItemService() { return *loginItemService_; }
    KivoUpdaterDelegate& updaterDelegate() { return *updaterDelegate_; }
    // Starts the update driver on first use (the More page's update section), never at launch.
    UpdateDriver& updaterController();
    const Localizer& localizer() const { return ports_.localizer; }
    bool isUserApprovedQuitInProgress() const { return isUserApprovedQuitInProgress_; }

    // The seed's name in the current interface language, and in every language.
    std::string localizedSeedName(SeedKind kind) const;
    std::set<std::string> seedNameVariants(SeedKind kind) const;

    // Launch wiring, once the event loop is about to run.
    void applicationDidFinishLaunching();
    // A second start of Kivo, or the desktop asking to reopen: show the main window.
    void applicationShouldHandleReopen();
    // Whether the application may end now. A user-initiated request is refused (sheets ended, windows
    // hidden) unless a quit was approved; the session ending is let through.
    bool applicationShouldTerminate(TerminationReason reason);
    void completeOnboarding();
    // At the end of the process: every store whose last save failed tries once more.
    void saveUnsaved();

    void showMainWindow();
    // The Automation banner's button: the settings where the user lets Kivo script the browsers.
    void openAutomationSettings();
    // The tray's Quit: shows the window and starts the ten-second confirmation.
    void requestQuit();
    void userApprovedQuit();
    void eraseAllData();
    void uninstall();
    // The actions the More page hands to the flows; each does nothing once the delegate is gone.
    std::function<void()> userApprovedQuitAction();
    std::function<void()> eraseAllDataAction();
    std::function<void()> uninstallAction();
    // The More page's entries: show the window, then start the flow.
    void beginQuit(QuitSource source);
    void beginEraseAllData();
    void beginUninstall();
    // The uninstall warning: what uninstalling does, and for a package of the system, which stays in
    // place, what is left for the user to do.
    QString uninstallWarning() const;

signals:
    // Another start of Kivo or the tray asked for the window.
    void mainWindowRequested();

private:
    void handleLanguageChange(LanguagePreference language);
    void relocalizeDefaults();

    Ports ports_;
    std::unique_ptr<LanguageController> languageController_;
    std::unique_ptr<OnboardingController> onboardingController_;
    std::unique_ptr<BlockRuleStore> store_;
    std::unique_ptr<ShieldOverlayController> overlayController_;
    std::unique_ptr<BrightnessTriggerStore> brightnessTriggerStore_;
    std::unique_ptr<BrightnessController> brightnessController_;
    std::unique_ptr<BrowserMonitor> browserMonitor_;
    std::unique_ptr<AccessibilityPermissionFlow> accessibilityFlow_;
    std::unique_ptr<ActivationPolicyCoordinator> activationPolicyCoordinator_;
    std::unique_ptr<MenuBarController> menuBarController_;
    std::unique_ptr<QuitConfirmationFlow> quitConfirmationFlow_;
    std::unique_ptr<EraseAllDataFlow> eraseAllDataFlow_;
    std::unique_ptr<UninstallFlow> uninstallFlow_;
    std::unique_ptr<LoginItemService> loginItemService_;
    std::unique_ptr<KivoUpdaterDelegate> updaterDelegate_;
    std::unique_ptr<KivoUserDriverDelegate> userDriverDelegate_;
    bool updaterStarted_ = false;
    bool isUserApprovedQuitInProgress_ = false;
};

} // namespace kivo
