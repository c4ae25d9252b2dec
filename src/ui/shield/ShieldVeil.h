#pragma once

#include <QWidget>

#include <functional>

class QPushButton;

namespace kivo {

class CountdownRing;
class ShieldOverlayController;

// One screen's cover while the shield is up: a frameless window over the whole screen with the dark veil
// and, on the primary screen, the countdown ring and the cancel button. No window manager manages it, so
// none can move it, resize it, put it into a layer under a panel or minimise it: the shield places it and
// keeps it on top. Escape cancels from any screen; close requests from outside are refused.
class ShieldVeil : public QWidget {
    Q_OBJECT
public:
    struct Texts {
        QString name; // the window's, for a screen reader: nothing on the veil names it
        QString cancel;
        QString countdown; // the ring's, for a screen reader, with the seconds it reads out
        std::function<QString(qint64 seconds)> remainingSeconds;
    };
    ShieldVeil(ShieldOverlayController& controller, bool isPrimary, bool opaque,
               std::function<void()> onEscape, const Texts& texts);

    bool isPrimary() const { return isPrimary_; }
    QPushButton* cancelButton() const { return cancel_; }
    QColor veilColor() const;
    // Set just before the shield itself takes the veil down, so only a hide from outside brings it back.
    void setClosing() { closing_ = true; }

signals:
    // Hidden by someone other than the shield, through Qt.
    void hiddenFromOutside();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void onCountdownChanged();

    ShieldOverlayController& controller_;
    bool isPrimary_;
    bool opaque_;
    bool closing_ = false;
    std::function<void()> onEscape_;
    Texts texts_;
    QPushButton* cancel_ = nullptr;
    CountdownRing* ring_ = nullptr;
};

} // namespace kivo
