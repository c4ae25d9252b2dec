#pragma once

#include "app/language/LocalizedString.h"
#include "app/shield/ShieldWindowSystem.h"
#include "ui/shield/KeyboardWatch.h"
#include "ui/shield/VeilStacking.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <cstddef>
#include <optional>
#include <vector>

namespace kivo {

class ShieldVeil;

// The shield on a Qt desktop: one veil per QScreen, or per Xinerama head where Qt's screens leave heads
// out or join them. On X11 the veils are windows no window manager manages, kept above every other
// window (panels, docks and task bars included) whatever the window manager's layers, the focus or
// other programs' requests. While the shield's presentation options are in force the keyboard and the
// pointer are grabbed by the primary veil, so the window manager's switching shortcuts do nothing; they
// are released when the options are put back. A veil hidden from outside is shown again while the shield
// is up, and grabs again. While veils are up no key reaches another window of Kivo: the grab brings
// every key to Kivo, and Qt hands it to whichever window has the focus. For a screen locker the veils
// let go of both at once and stay where they are, under the locker, until they are shown anew.
class QtShieldWindowSystem : public QObject, public ShieldWindowSystem {
    Q_OBJECT
public:
    // `text` gives a catalog text (the cancel button's label, the veils' name) in the current interface
    // language.
    explicit QtShieldWindowSystem(std::function<QString(const LocalizedString&)> text,
                                  QObject* parent = nullptr);
    ~QtShieldWindowSystem() override;

    std::vector<ShieldScreen> screens() const override;
    std::optional<ShieldScreen> mainScreen() const override;
    void showVeil(const ShieldScreen& screen, bool isPrimary, ShieldOverlayController& controller,
                  std::function<void()> onEscape) override;
    void closeVeils() override;
    void yieldToLocker() override;
    void whenKeyboardFree(std::chrono::milliseconds grace, std::function<void()> onFree) override;
    PresentationOptions presentationOptions() const override { return options_; }
    void setPresentationOptions(PresentationOptions options) override;
    void setScreensChangedHandler(std::function<void()> handler) override;

    std::vector<ShieldVeil*> veils() const;
    bool isGrabbing() const { return grabbed_; }
    bool isYielding() const { return yielding_; }
    // Still trying to take the grab (the veil not mapped yet, or another client holding one).
    bool isRetryingGrab() const { return grabRetry_.isActive(); }

signals:
    // Another program hid a veil, which is shown again.
    void veilHiddenFromOutside();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Layout {
        std::vector<ShieldScreen> screens;
        std::optional<std::size_t> main;
    };
    Layout layout() const;
    void startGrabbing();
    void tryGrab();
    bool retryGrabLater();
    void releaseGrab();
    void veilCameBack();
    void watchScreens();

    std::function<QString(const LocalizedString&)> text_;
    std::vector<QPointer<ShieldVeil>> veils_;
    PresentationOptions options_;
    std::function<void()> screensChanged_;
    QTimer grabRetry_;
    int grabAttempts_ = 0;
    bool grabbed_ = false;
    bool yielding_ = false;
    QSet<const QObject*> watched_;
    VeilStacking stacking_;
    KeyboardWatch keyboard_;
};

} // namespace kivo
