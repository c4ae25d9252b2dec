#include "ui/shell/MainWindow.h"

#include "app/language/LanguageController.h"
#include "app/language/LocalizedStrings.h"
#include "app/onboarding/OnboardingController.h"
#include "app/shell/AppDelegate.h"
#include "ui/UiContext.h"
#include "ui/onboarding/LanguageOnboardingPage.h"
#include "ui/sheets/SheetPresenter.h"
#include "ui/shell/MainContent.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>

namespace kivo {

MainWindow::MainWindow(UiContext& ui, std::function<void()> onQuitShortcut,
                       std::function<bool()> keepReachable, QWidget* parent)
    : QMainWindow(parent), ui_(ui), keepReachable_(std::move(keepReachable)) {
    setObjectName(QStringLiteral("main"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kivo-leaf.svg")));
    resize(660, 460);
    setMinimumSize(660, 460);
    sheets_ = new SheetPresenter(this, ui, [this] { showInactive(); });

    auto* quit = new QAction(this);
    quit->setShortcut(QKeySequence::Quit);
    quit->setShortcutContext(Qt::ApplicationShortcut);
    connect(quit, &QAction::triggered, this,
            [onQuitShortcut = std::move(onQuitShortcut)] { onQuitShortcut(); });
    addAction(quit);

    connect(&ui.languageController, &LanguageController::currentChanged, this, &MainWindow::scheduleRebuild);
    connect(&ui.delegate.onboardingController(), &OnboardingController::isCompletedChanged, this,
            &MainWindow::scheduleRebuild);
    rebuild();
}

MainContent* MainWindow::mainContent() const {
    return qobject_cast<MainContent*>(centralWidget());
}

void MainWindow::scheduleRebuild() {
    // The change may come from a widget of the content itself (the language picker): replacing the
    // content inside its handler would delete the sender under its own feet.
    rebuildLater_.request();
}

void MainWindow::rebuild() {
    setWindowTitle(ui_.text(Strings::Nav::kivo()));
    QWidget* next = nullptr;
    if (ui_.delegate.onboardingController().isCompleted()) {
        next = new MainContent(ui_);
    } else {
        auto& delegate = ui_.delegate;
        next = new LanguageOnboardingPage(ui_, [&delegate] { delegate.completeOnboarding(); });
    }
    if (QWidget* old = takeCentralWidget()) {
        old->hide();
        old->deleteLater();
    }
    setCentralWidget(next);
}

void MainWindow::putAway() {
    if (keepReachable_ && keepReachable_())
        showMinimized();
    else
        hide();
}

void MainWindow::showInactive() {
    const bool was = testAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    if (isMinimized())
        showNormal();
    else
        show();
    setAttribute(Qt::WA_ShowWithoutActivating, was);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing only puts the window away; Kivo keeps running.
    event->ignore();
    putAway();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    emit visibilityChanged();
}

void MainWindow::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    emit visibilityChanged();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        emit visibilityChanged();
}

} // namespace kivo
