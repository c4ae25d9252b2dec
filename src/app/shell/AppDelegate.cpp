#include "app/shell/AppDelegate.h"

#include "app/brightness/BrightnessController.h"
#include "app/brightness/BrightnessTriggerStore.h"
#include "app/language/LanguageController.h"
#include "app/language/LanguagePreferenceStore.h"
#include "app/language/LocalizedStrings.h"
#include "app/language/Localizer.h"
#include "app/more/LoginItemService.h"
#include "app/onboarding/OnboardingController.h"
#include "app/ports/ApplicationWindows.h"
#include "app/ports/Installation.h"
#include "app/ports/TrashPort.h"
#include "app/ports/UpdateDriver.h"
#include "app/rules/BlockRuleStore.h"
#include "app/sheets/EraseAllDataFlow.h"
#include "app/sheets/QuitConfirmationFlow.h"
#include "app/sheets/UninstallFlow.h"
#include "app/shell/ActivationPolicyCoordinator.h"
#include "app/shell/MenuBarController.h"
#include "app/shield/ShieldOverlayController.h"
#include "app/update/KivoUpdaterDelegate.h"
#include "app/update/KivoUserDriverDelegate.h"
#include "browser-monitor/AccessibilityPermissionFlow.h"
#include "browser-monitor/ports/SettingsOpener.h"
#include "core/Log.h"
#include "domain/BlockRuleGroup.h"
#include "domain/BrightnessTrigger.h"
#include "settings/DefaultsStore.h"

#include <QPointer>

namespace kivo {

namespace {

constexpr const char* kMcpServerPortKey = "mcpServerPort";

const LocalizedString& seedKey(AppDelegate::SeedKind kind) {
    switch (kind) {
    case AppDelegate::SeedKind::blocklist:
        return Strings::Domain::SeedName::blocklist();
    case AppDelegate::SeedKind::sunrise:
        return Strings::Domain::SeedName::sunrise();
    case AppDelegate::SeedKind::sunset:
        return Strings::Domain::SeedName::sunset();
    }
    return Strings::Domain::SeedName::blocklist();
}

} // namespace

AppDelegate::AppDelegate(Ports ports, QObject* parent) : QObject(parent), ports_(std::move(ports)) {
    // The order matters: later objects read what earlier ones loaded.
    languageController_ = std::make_unique<LanguageController>(LanguagePreferenceStore(ports_.defaults),
                                                               ports_.preferredLanguages);
    languageController_->setRetryTimers(ports_.timers);
    onboardingController_ = std::make_unique<OnboardingController>(OnboardingStore{&ports_.defaults});
    onboardingController_->setRetryTimers(ports_.timers);
    overlayController_ =
        std::make_unique<ShieldOverlayController>(ports_.shieldWindows, ports_.clock, ports_.timers);
    brightnessController_ = std::make_unique<BrightnessController>(
        ports_.brightnessBackend, ports_.clock, ports_.timers, ports_.wake, ports_.displayChanges);
    browserMonitor_ = std::make_unique<BrowserMonitor>(ports_.browser, ports_.clock, ports_.timers);
    accessibilityFlow_ = std::make_unique<AccessibilityPermissionFlow>(
        ports_.browser.tree, ports_.settingsOpener, ports_.defaults);
    activationPolicyCoordinator_ =
        std::make_unique<ActivationPolicyCoordinator>(ports_.activationPolicy, ports_.timers);
    menuBarController_ = std::make_unique<MenuBarController>(ports_.statusItem, ports_.localizer);
    quitConfirmationFlow_ = std::make_unique<QuitConfirmationFlow>(ports_.timers);
    eraseAllDataFlow_ = std::make_unique<EraseAllDataFlow>(ports_.timers);
    uninstallFlow_ = std::make_unique<UninstallFlow>();
    loginItemService_ = std::make_unique<LoginItemService>(ports_.loginItem);
    updaterDelegate_ = std::make_unique<KivoUpdaterDelegate>(ports_.defaults, ports_.errors);
    userDriverDelegate_ = std::make_unique<KivoUserDriverDelegate>();
}

AppDelegate::~AppDelegate() {
    // The monitor's groups provider and the flows' actions point back here: stop them first.
    browserMonitor_->stop();
}

BlockRuleStore& AppDelegate::store() {
    if (!store_) {
        store_ = std::make_unique<BlockRuleStore>(ports_.defaults, localizedSeedName(SeedKind::blocklist),
                                                  ports_.clock);
        store_->setRetryTimers(ports_.timers);
        // Connected here, once for the life of the process, so no change of groups is missed whichever
        // page the window shows.
        connect(store_.get(), &BlockRuleStore::groupsChanged, browserMonitor_.get(),
                &BrowserMonitor::refreshRules);
    }
    return *store_;
}

BrightnessTriggerStore& AppDelegate::brightnessTriggerStore() {
    if (!brightnessTriggerStore_) {
        const auto sunrise = localizedSeedName(SeedKind::sunrise);
        const auto sunset = localizedSeedName(SeedKind::sunset);
        brightnessTriggerStore_ = std::make_unique<BrightnessTriggerStore>(
            ports_.defaults, sunrise, sunset,
            BrightnessTriggerStore::loadTriggers(ports_.defaults, sunrise, sunset));
        brightnessTriggerStore_->setRetryTimers(ports_.timers);
    }
    return *brightnessTriggerStore_;
}

UpdateDriver& AppDelegate::updaterController() {
    if (!updaterStarted_) {
        updaterStarted_ = true;
        ports_.updates.start(*updaterDelegate_, *userDriverDelegate_);
    }
    return ports_.updates;
}

std::string AppDelegate::localizedSeedName(SeedKind kind) const {
    return ports_.localizer.text(seedKey(kind), languageController_->current()).toStdString();
}

std::set<std::string> AppDelegate::seedNameVariants(SeedKind kind) const {
    std::set<std::string> names;
    for (const auto language : LanguagePreference::allCases())
        names.insert(ports_.localizer.text(seedKey(kind), language).toStdString());
    return names;
}

void AppDelegate::applicationDidFinishLaunching() {
    qCInfo(lcLifecycle, "Kivo launched");
    updaterDelegate_->checkInstallMarker(ports_.runningVersion);
    QPointer<AppDelegate> self(this);
    updaterDelegate_->onWillInstallUpdate = [self] {
        if (self)
            self->isUserApprovedQuitInProgress_ = true;
        qCInfo(lcTermination, "Sparkle update approved; allowing terminate");
    };
    brightnessController_->start(&brightnessTriggerStore());
    browserMonitor_->start(
        [self]() -> std::vector<BlockRuleGroup> {
            if (!self)
                return {};
            return self->store().groups();
        },
        accessibilityFlow_.get());
    activationPolicyCoordinator_->start();
    menuBarController_->onOpenKivo = [self] {
        if (self)
            self->showMainWindow();
    };
    menuBarController_->onQuitKivo = [self] {
        if (self)
            self->requestQuit();
    };
    menuBarController_->install(languageController_->current());
    languageController_->setOnLanguageChanged([self](LanguagePreference language) {
        if (self)
            self->handleLanguageChange(language);
    });
}

void AppDelegate::applicationShouldHandleReopen() {
    showMainWindow();
}

bool AppDelegate::applicationShouldTerminate(TerminationReason reason) {
    const bool fromSystem = reason != TerminationReason::userInitiated;
    qCInfo(lcTermination,
           "applicationShouldTerminate called: isUserApprovedQuitInProgress=%d hasAppleEvent=%d",
           isUserApprovedQuitInProgress_ ? 1 : 0, fromSystem ? 1 : 0);
    if (isUserApprovedQuitInProgress_) {
        qCInfo(lcTermination, "User-approved quit confirmed; terminating now");
        return true;
    }
    qCInfo(lcTermination, "Terminate request reason=%s", std::string(toString(reason)).c_str());
    if (fromSystem)
        return true;
    ports_.windows.endSheetsAndHideWindows();
    activationPolicyCoordinator_->evaluate();
    return false;
}

void AppDelegate::saveUnsaved() {
    languageController_->saveIfUnsaved();
    onboardingController_->saveIfUnsaved();
    if (store_)
        store_->saveIfUnsaved();
    if (brightnessTriggerStore_)
        brightnessTriggerStore_->saveIfUnsaved();
}

void AppDelegate::completeOnboarding() {
    onboardingController_->completeOnboarding();
}

void AppDelegate::showMainWindow() {
    activationPolicyCoordinator_->apply(ActivationPolicy::regular);
    ports_.windows.showMainWindow();
    emit mainWindowRequested();
}

void AppDelegate::openAutomationSettings() {
    if (!ports_.settingsOpener.openAutomationSettings()) {
        qCDebug(lcAutomation, "Automation settings did not open");
    }
}

void AppDelegate::requestQuit() {
    showMainWindow();
    quitConfirmationFlow_->begin(QuitSource::menuBar, userApprovedQuitAction());
}

void AppDelegate::userApprovedQuit() {
    isUserApprovedQuitInProgress_ = true;
    qCInfo(lcTermination, "User-approved quit initiated");
    ports_.windows.terminate();
}

void AppDelegate::eraseAllData() {
    qCInfo(lcLifecycle, "Erase all data initiated");
    auto& rules = store();
    const auto seedName = localizedSeedName(SeedKind::blocklist);
    // Purge before seeding: with the records and every kept-aside copy gone and the stores no longer
    // holding an unreadable value, the seeding saves below cannot copy the user's old data aside again.
    rules.setBackoffRecords({});
    ports_.defaults.remove(BlockRuleStore::backoffRecordsKey);
    rules.forgetUnreadableValues();
    auto& triggers = brightnessTriggerStore();
    triggers.forgetUnreadableValue();
    ports_.defaults.removeKeptAsideCopies();
    rules.setGroups(BlockRuleGroup::makeDefault(seedName));
    triggers.setTriggers(BrightnessTrigger::makeDefaults(localizedSeedName(SeedKind::sunrise),
                                                         localizedSeedName(SeedKind::sunset)));
    ports_.defaults.remove(kMcpServerPortKey);
    loginItemService_->setEnabled(false);
    brightnessController_->setStore(&triggers);
    brightnessController_->applyCurrentTrigger();
    browserMonitor_->refreshRules();
    onboardingController_->reset();
}

void AppDelegate::uninstall() {
    qCInfo(lcLifecycle, "Uninstall initiated");
    isUserApprovedQuitInProgress_ = true;
    eraseAllData();
    QString failure = ports_.installation.systemOwnedReason();
    if (failure.isEmpty()) {
        // Asked first: once the program itself is in the trash, nothing tells where it was installed.
        const QStringList folders = ports_.installation.userOwnedFolders();
        for (const auto& path : ports_.installation.userOwnedFiles()) {
            const QString problem = ports_.trash.moveToTrash(path);
            if (!problem.isEmpty() && failure.isEmpty())
                failure = problem;
        }
        // A folder the install made for Kivo goes once empty; one the user put something in stays.
        for (const auto& folder : folders) {
            if (const QString kept = ports_.trash.removeEmptyFolder(folder); !kept.isEmpty())
                qCInfo(lcLifecycle, "Folder kept: %s", qUtf8Printable(kept));
        }
    }
    if (failure.isEmpty())
        qCInfo(lcLifecycle, "App bundle moved to Trash");
    else
        qCCritical(lcLifecycle, "Uninstall recycle failed: %s. App bundle must be moved to Trash manually.",
                   qUtf8Printable(failure));
    // The trash is a local rename; ending on a later turn lets the erase's saves and the log settle first.
    QPointer<AppDelegate> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (self)
                self->ports_.windows.terminate();
        },
        Qt::QueuedConnection);
}

std::function<void()> AppDelegate::userApprovedQuitAction() {
    QPointer<AppDelegate> self(this);
    return [self] {
        if (self)
            self->userApprovedQuit();
    };
}

std::function<void()> AppDelegate::eraseAllDataAction() {
    QPointer<AppDelegate> self(this);
    return [self] {
        if (self)
            self->eraseAllData();
    };
}

std::function<void()> AppDelegate::uninstallAction() {
    QPointer<AppDelegate> self(this);
    return [self] {
        if (self)
            self->uninstall();
    };
}

void AppDelegate::beginQuit(QuitSource source) {
    showMainWindow();
    quitConfirmationFlow_->begin(source, userApprovedQuitAction());
}

void AppDelegate::beginEraseAllData() {
    showMainWindow();
    eraseAllDataFlow_->begin(eraseAllDataAction());
}

void AppDelegate::beginUninstall() {
    showMainWindow();
    uninstallFlow_->begin(uninstallAction());
}

QString AppDelegate::uninstallWarning() const {
    const auto language = languageController_->current();
    if (ports_.installation.systemOwnedReason().isEmpty())
        return ports_.localizer.text(Strings::Uninstall::warningMessage(), language);
    // The program stays where the system put it: say only what happens, then what is left to do.
    return ports_.localizer.text(Strings::Uninstall::packageWarningMessage(), language) +
           QStringLiteral("\n\n") + ports_.localizer.text(Strings::Uninstall::packageRemains(), language);
}

void AppDelegate::handleLanguageChange(LanguagePreference language) {
    relocalizeDefaults();
    menuBarController_->updateTitles(language);
}

void AppDelegate::relocalizeDefaults() {
    const auto toVector = [](const std::set<std::string>& s) {
        return std::vector<std::string>(s.begin(), s.end());
    };
    store().renameDefaultGroup(toVector(seedNameVariants(SeedKind::blocklist)),
                               localizedSeedName(SeedKind::blocklist));
    brightnessTriggerStore().renameSeedTriggers(
        seedNameVariants(SeedKind::sunrise), localizedSeedName(SeedKind::sunrise),
        seedNameVariants(SeedKind::sunset), localizedSeedName(SeedKind::sunset));
}

} // namespace kivo
