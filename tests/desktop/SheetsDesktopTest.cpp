#include "app/sheets/QuitConfirmationFlow.h"
#include "app/shell/AppDelegate.h"
#include "desktop/DesktopSupport.h"
#include "ui/ShellRig.h"
#include "ui/sheets/SheetPresenter.h"
#include "ui/shell/MainWindow.h"

#include <QDialog>
#include <QPointer>
#include <QWindow>

#include <gtest/gtest.h>

// The window manager's minimise and real key presses, on a real X server.

namespace kivo {
namespace {

bool exposed(QWidget* w) {
    return w->windowHandle() && w->windowHandle()->isExposed();
}

TEST(SheetsOnTheDesktop, MinimisingKeepsTheQuitCountdownAndCtrlQInItsSheetEndsIt) {
    test::ShellRig rig;
    rig.shell->launch();
    auto& window = rig.shell->mainWindow();
    auto& quit = rig.shell->delegate().quitConfirmationFlow();
    rig.shell->delegate().beginQuit(QuitSource::settings);
    QPointer<QDialog> sheet = window.sheets().quitSheet();
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(test::waitOnDesktop([&] { return exposed(&window) && sheet && exposed(sheet); }));

    const QString id = QString::number(window.winId());
    test::xdotool({"windowminimize", id});
    ASSERT_TRUE(test::waitOnDesktop([&] { return window.isMinimized(); }))
        << "the window manager minimised it";
    test::xdotool({"windowactivate", id});
    ASSERT_TRUE(test::waitOnDesktop([&] { return !window.isMinimized() && sheet && exposed(sheet); }))
        << "restored";
    EXPECT_TRUE(quit.state().isCounting());
    EXPECT_EQ(window.sheets().quitSheet(), sheet.data());

    test::xdotool({"windowactivate", "--sync", QString::number(sheet->winId())});
    test::xdotool({"key", "--clearmodifiers", "ctrl+q"});
    EXPECT_TRUE(test::waitOnDesktop([&] { return !quit.state().isCounting(); }))
        << "Ctrl+Q reached the sheet";
    EXPECT_TRUE(test::waitOnDesktop([&] { return window.isMinimized() || !window.isVisible(); }))
        << "put away";
}

} // namespace
} // namespace kivo
