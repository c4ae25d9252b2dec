#pragma once

#include "app/shield/ShieldWindowSystem.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <vector>

namespace kivo {

class ShieldVeil;

// The shield on a Qt desktop: one veil per QScreen. While the shield's presentation options are in
// force the keyboard and the pointer are grabbed by the primary veil, so the window manager's switching
// shortcuts do nothing; they are released when the options are put back. A veil hidden from outside is
// shown again while the shield is up.
class QtShieldWindowSystem : public QObject, public ShieldWindowSystem {
    Q_OBJECT
public:
    // `cancelText` gives the cancel button's label in the current interface language.
    explicit QtShieldWindowSystem(std::function<QString()> cancelText, QObject* parent = nullptr);
    ~QtShieldWindowSystem() override;

    std::vector<ShieldScreen> screens() const override;
    std::optional<ShieldScreen> mainScreen() const override;
    void showVeil(const ShieldScreen& screen, bool isPrimary, ShieldOverlayController& controller,
                  std::function<void()> onEscape) override;
    void closeVeils() override;
    PresentationOptions presentationOptions() const override { return options_; }
    void setPresentationOptions(PresentationOptions options) override;
    void setScreensChangedHandler(std::function<void()> handler) override;

    std::vector<ShieldVeil*> veils() const;
    bool isGrabbing() const { return grabbed_; }

private:
    void tryGrab();
    void releaseGrab();
    void watchScreens();

    std::function<QString()> cancelText_;
    std::vector<QPointer<ShieldVeil>> veils_;
    PresentationOptions options_;
    std::function<void()> screensChanged_;
    QTimer grabRetry_;
    int grabAttempts_ = 0;
    bool grabbed_ = false;
    QSet<const QObject*> watched_;
};

} // namespace kivo
