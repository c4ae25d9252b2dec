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
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QIcon>
#include <QKeyEvent>

namespace kivo {

MainWindow::MainWindow(UiContext& ui, std::function<void()> onQuitShortcut,
                       std::function<bool()> keepReachable, QWidget* parent)
    : QMainWindow(parent), ui_(ui), onQuitShortcut_(std::move(onQuitShortcut)),
      keepReachable_(std::move(keepReachable)) {
    setObjectName(QStringLiteral("main"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kivo-leaf.svg")));
    resize(660, 460);
    setMinimumSize(660, 460);
    sheets_ = new SheetPresenter(this, ui, [this] { showInactive(); });

    auto* quit = new QAction(this);
    // Ctrl+Q itself: the standard Quit binding is empty on platforms without a desktop scheme.
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcutContext(Qt::ApplicationShortcut);
    connect(quit, &QAction::triggered, this, [this] { onQuitShortcut_(); });
    addAction(quit);
    // A window-modal sheet blocks the window's shortcuts: the sheets' Ctrl+Q is caught on its way to them.
    qApp->installEventFilter(this);

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
    // The keyboard focus goes back to the same control in the new content (the language picker).
    QWidget* focused = focusWidget();
    const QString focusedName = focused && centralWidget() && centralWidget()->isAncestorOf(focused)
                                    ? focused->objectName()
                                    : QString();
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
    // The window fits whatever the content needs (the onboarding page's fixed frame).
    setMinimumSize(QSize(660, 460).expandedTo(next->minimumSizeHint()));
    if (!focusedName.isEmpty()) {
        if (auto* again = next->findChild<QWidget*>(focusedName))
            again->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::endSheets() {
    sheets_->endSheets();
    // The screens' sheets, and any alert on them, deepest first.
    const auto dialogs = findChildren<QDialog*>();
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
        if ((*it)->isVisible())
            (*it)->reject();
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Q)) {
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* sheet = widget ? widget->window() : nullptr;
        bool onThisWindow = false;
        for (QWidget* w = sheet; w && sheet != this; w = w->parentWidget())
            onThisWindow = onThisWindow || w == this;
        if (onThisWindow) {
            event->accept();
            quitLater_.request();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::putAway() {
    // Minimising keeps sheets; putting away does not, even where it minimises for lack of a tray.
    endSheets();
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
