#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

#include <QDialog>
class QWidget;

namespace kivo {

struct UiContext;

// Shows the four application-wide sheets (quit, erase all data, uninstall, accessibility prompt) on the
// main window itself, so they appear whatever the window shows, onboarding included. A sheet follows its
// flow: it opens when the flow leaves its idle state and closes when the flow returns to it. A sheet
// closed any other way (Escape, its close box, the window hidden, put away or destroyed) ends its flow, so
// no countdown runs on unseen; a minimised window keeps its sheets.
class SheetPresenter : public QObject {
    Q_OBJECT
public:
    // `showInactive` brings a hidden window up without taking the keyboard from the application in front.
    SheetPresenter(QWidget* window, UiContext& ui, std::function<void()> showInactive);
    ~SheetPresenter() override;

    QDialog* quitSheet() const { return sheets_[0].dialog; }
    QDialog* eraseSheet() const { return sheets_[1].dialog; }
    QDialog* uninstallSheet() const { return sheets_[2].dialog; }
    QDialog* accessibilitySheet() const { return sheets_[3].dialog; }
    // Closes every open sheet, ending its flow.
    void endSheets();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Sheet {
        std::function<bool()> isActive;
        std::function<QDialog*()> build;
        std::function<void()> end;
        QPointer<QDialog> dialog;
    };

    void sync(Sheet& sheet);

    QWidget* window_;
    UiContext& ui_;
    std::function<void()> showInactive_;
    Sheet sheets_[4];
};

} // namespace kivo
