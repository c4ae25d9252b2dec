#include "ui/sheets/SheetPresenter.h"

#include "app/sheets/EraseAllDataFlow.h"
#include "app/sheets/QuitConfirmationFlow.h"
#include "app/sheets/UninstallFlow.h"
#include "app/shell/AppDelegate.h"
#include "browser-monitor/AccessibilityPermissionFlow.h"
#include "ui/UiContext.h"
#include "ui/sheets/AccessibilityPermissionSheet.h"
#include "ui/sheets/EraseAllDataSheet.h"
#include "ui/sheets/QuitConfirmationSheet.h"
#include "ui/sheets/UninstallSheet.h"

#include <QDialog>
#include <QEvent>
#include <QPushButton>
#include <QWidget>

namespace kivo {

SheetPresenter::SheetPresenter(QWidget* window, UiContext& ui, std::function<void()> showInactive)
    : QObject(window), window_(window), ui_(ui), showInactive_(std::move(showInactive)) {
    auto& quit = ui.quitFlow;
    auto& erase = ui.eraseFlow;
    auto& uninstall = ui.uninstallFlow;
    auto& accessibility = ui.accessibilityFlow;
    sheets_[0] = {[&quit] { return quit.state().isCounting(); },
                  [this, &quit] { return new QuitConfirmationSheet(quit, ui_, window_); },
                  [&quit] { quit.cancel(); },
                  {}};
    sheets_[1] = {[&erase] { return !erase.stage().isInactive(); },
                  [this, &erase] { return new EraseAllDataSheet(erase, ui_, window_); },
                  [&erase] { erase.cancel(); },
                  {}};
    sheets_[2] = {[&uninstall] { return uninstall.stage() == UninstallFlow::Stage::warning; },
                  [this, &uninstall] {
                      return new UninstallSheet(uninstall, ui_, ui_.delegate.uninstallWarning(), window_);
                  },
                  [&uninstall] { uninstall.cancel(); },
                  {}};
    sheets_[3] = {[&accessibility] { return accessibility.promptingBrowser().has_value(); },
                  [this, &accessibility] {
                      return new AccessibilityPermissionSheet(
                          *accessibility.promptingBrowser(), ui_, [&accessibility] { accessibility.grant(); },
                          [&accessibility] { accessibility.dismiss(); },
                          [&accessibility] { accessibility.suppress(); }, window_);
                  },
                  [&accessibility] { accessibility.dismiss(); },
                  {}};

    connect(&quit, &QuitConfirmationFlow::stateChanged, this, [this] { sync(sheets_[0]); });
    connect(&erase, &EraseAllDataFlow::stageChanged, this, [this] { sync(sheets_[1]); });
    connect(&uninstall, &UninstallFlow::stageChanged, this, [this] { sync(sheets_[2]); });
    connect(&accessibility, &AccessibilityPermissionFlow::promptingBrowserChanged, this, [this] {
        // A new browser replaces the prompt on show: close the old sheet without answering for it.
        if (sheets_[3].dialog) {
            QPointer<QDialog> old = sheets_[3].dialog;
            sheets_[3].dialog = nullptr;
            old->hide();
            old->deleteLater();
        }
        sync(sheets_[3]);
    });
    window_->installEventFilter(this);
    for (auto& sheet : sheets_)
        sync(sheet);
}

SheetPresenter::~SheetPresenter() {
    // The window is going: a flow whose sheet goes with it must not keep counting.
    for (auto& sheet : sheets_) {
        if (sheet.isActive())
            sheet.end();
    }
}

void SheetPresenter::endSheets() {
    for (auto& sheet : sheets_) {
        if (sheet.dialog)
            sheet.dialog->reject();
    }
}

bool SheetPresenter::eventFilter(QObject* watched, QEvent* event) {
    // Minimising sends a spontaneous hide: the sheets and their countdowns carry on behind it.
    if (watched == window_ && event->type() == QEvent::Hide && !event->spontaneous())
        endSheets();
    return QObject::eventFilter(watched, event);
}

void SheetPresenter::sync(Sheet& sheet) {
    const bool active = sheet.isActive();
    if (active && !sheet.dialog) {
        if (!window_->isVisible() && showInactive_)
            showInactive_();
        QDialog* dialog = sheet.build();
        // Return answers the sheet's default button only; a focused Cancel must not take it over.
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            if (!button->isDefault())
                button->setAutoDefault(false);
        }
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowModality(Qt::WindowModal);
        sheet.dialog = dialog;
        Sheet* slot = &sheet;
        // Any way the sheet closes while its flow is still going ends the flow.
        connect(dialog, &QDialog::finished, this, [slot, dialog] {
            if (slot->dialog == dialog) {
                slot->dialog = nullptr;
                if (slot->isActive())
                    slot->end();
            }
        });
        dialog->open();
    } else if (!active && sheet.dialog) {
        QPointer<QDialog> dialog = sheet.dialog;
        sheet.dialog = nullptr; // the flow ended itself: closing must not end it again
        dialog->close();
    }
}

} // namespace kivo
