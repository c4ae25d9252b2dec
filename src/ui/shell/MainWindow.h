#pragma once

#include "ui/components/DeferredCall.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

namespace kivo {

class MainContent;
class SheetPresenter;
struct UiContext;

// The one main window: onboarding until it is done, then the main content, always in the chosen
// interface language. A language change or the end of onboarding rebuilds the content on a later turn
// of the event loop, never inside the handler of a widget that is about to go. The app-wide sheets hang
// on the window itself, so they survive a rebuild and show during onboarding too.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `onQuitShortcut` is the plain quit (Ctrl+Q, the window's Quit action); `keepReachable` says whether
    // closing should minimise rather than hide (no tray to bring the window back).
    MainWindow(UiContext& ui, std::function<void()> onQuitShortcut, std::function<bool()> keepReachable,
               QWidget* parent = nullptr);

    SheetPresenter& sheets() const { return *sheets_; }
    // The content on show: the onboarding page or the main content.
    QWidget* content() const { return centralWidget(); }
    MainContent* mainContent() const;
    // Builds the content for the current state now (the scheduled rebuild calls this).
    void rebuild();
    // Ends every sheet on the window, then hides, or minimises when nothing would be left to bring the
    // window back.
    void putAway();
    // Shows without taking the keyboard from the application in front.
    void showInactive();

signals:
    void visibilityChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void scheduleRebuild();
    void endSheets();

    UiContext& ui_;
    std::function<void()> onQuitShortcut_;
    std::function<bool()> keepReachable_;
    SheetPresenter* sheets_;
    DeferredCall rebuildLater_{this, [this] { rebuild(); }};
    // Ctrl+Q typed in a sheet ends that sheet: it runs after the key's handler, not inside it.
    DeferredCall quitLater_{this, [this] { onQuitShortcut_(); }};
};

} // namespace kivo
