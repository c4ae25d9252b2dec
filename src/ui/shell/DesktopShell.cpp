#include "ui/shell/DesktopShell.h"

#include "app/language/LanguageController.h"
#include "app/language/LocalizedStrings.h"
#include "app/shell/ActivationPolicyCoordinator.h"
#include "ui/UiContext.h"
#include "ui/components/ButtonPaddingStyle.h"
#include "ui/sheets/SheetPresenter.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/QtTranslations.h"
#include "ui/shell/TrayItem.h"
#include "ui/shield/QtShieldWindowSystem.h"

#include <QCoreApplication>
#include <QTimer>

namespace kivo {

// Answers which windows are up from the main window, and hands the policy to the platform's back end.
class DesktopShell::WindowPolicy : public ActivationPolicyPort {
public:
    explicit WindowPolicy(ActivationPolicyPort& backend) : backend_(backend) {}
    MainWindow* window = nullptr;
    bool hasVisibleMainWindow() const override {
        return window && window->isVisible() && !window->isMinimized();
    }
    void setActivationPolicy(ActivationPolicy policy) override { backend_.setActivationPolicy(policy); }

private:
    ActivationPolicyPort& backend_;
};

DesktopShell::DesktopShell(AppDelegate::BackEnds backEnds, ActivationPolicyPort& activationPolicy,
                           QObject* parent)
    : QObject(parent), tray_(std::make_unique<TrayItem>()),
      policy_(std::make_unique<WindowPolicy>(activationPolicy)) {
    ButtonPaddingStyle::install();
    shieldWindows_ = std::make_unique<QtShieldWindowSystem>([this](const LocalizedString& text) {
        return localizer_.text(text, delegate_->languageController().current());
    });
    delegate_ = std::make_unique<AppDelegate>(
        AppDelegate::Ports{std::move(backEnds), localizer_, *shieldWindows_, *policy_, *tray_, *this});
    auto& d = *delegate_;
    // Before any window exists, and switched before the window rebuilds itself in the new language.
    qtTranslations_ = std::make_unique<QtTranslations>();
    qtTranslations_->use(d.languageController().current());
    connect(&d.languageController(), &LanguageController::currentChanged, this,
            [this](LanguagePreference language) { qtTranslations_->use(language); });
    context_ = std::make_unique<UiContext>(
        UiContext{d.store(), d.overlayController(), d.brightnessTriggerStore(), d.brightnessController(),
                  d.browserMonitor(), d.loginItemService(), d.languageController(), localizer_, d,
                  d.quitConfirmationFlow(), d.eraseAllDataFlow(), d.uninstallFlow(), d.accessibilityFlow()});
    window_ = std::make_unique<MainWindow>(
        *context_, [this] { requestTermination(TerminationReason::userInitiated); },
        [] { return !TrayItem::isAvailable(); });
    policy_->window = window_.get();
    connect(window_.get(), &MainWindow::visibilityChanged, this,
            [this] { delegate_->activationPolicyCoordinator().scheduleEvaluation(); });
}

DesktopShell::~DesktopShell() {
    // Windows go before the objects they show.
    policy_->window = nullptr;
    window_.reset();
    shieldWindows_->closeVeils();
}

void DesktopShell::launch(bool showWindow) {
    delegate_->applicationDidFinishLaunching();
    if (showWindow)
        delegate_->showMainWindow();
}

bool DesktopShell::requestTermination(TerminationReason reason) {
    if (terminating_)
        return true;
    if (!delegate_->applicationShouldTerminate(reason))
        return false;
    terminating_ = true;
    delegate_->saveUnsaved();
    emit terminating();
    // On a later turn: the request may come from inside a sheet's button or a menu. exit(), not quit():
    // quit() first asks every window to close, and the main window and the veils refuse.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    return true;
}

void DesktopShell::showMainWindow() {
    if (window_->isMinimized())
        window_->showNormal();
    else
        window_->show();
    window_->raise();
    window_->activateWindow();
}

void DesktopShell::endSheetsAndHideWindows() {
    window_->sheets().endSheets();
    // Only the main window: the shield's veils stay up and keep the keyboard.
    window_->putAway();
}

void DesktopShell::terminate() {
    requestTermination(TerminationReason::userInitiated);
}

} // namespace kivo
