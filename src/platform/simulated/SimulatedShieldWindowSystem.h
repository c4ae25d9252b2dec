#pragma once

#include "app/shield/ShieldWindowSystem.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

// Screens a test connects and disconnects at will, and a record of every veil and presentation change
// the shield makes.
class SimulatedShieldWindowSystem final : public ShieldWindowSystem {
public:
    struct Veil {
        ShieldScreen screen;
        bool isPrimary = false;
        ShieldOverlayController* controller = nullptr;
        std::function<void()> onEscape;
    };

    // Starts with one screen, "screen-0", 1920×1080, which is the main screen.
    SimulatedShieldWindowSystem();

    // The screen set changes as if displays were plugged or unplugged; the change handler, if any, runs.
    void setScreens(std::vector<ShieldScreen> screens, std::optional<ShieldScreen> mainScreen = std::nullopt);

    // The veils now shown, in the order they were put up.
    const std::vector<Veil>& veils() const { return veils_; }
    int veilsShownCount() const { return veilsShown_; }
    bool isObservingScreens() const { return static_cast<bool>(screensChanged_); }
    // Every presentation-option value set, in order.
    const std::vector<PresentationOptions>& presentationHistory() const { return presentationHistory_; }

    // Standing aside for a screen locker (since yieldToLocker, until veils are shown or closed).
    bool isYielding() const { return yielding_; }
    // The grace of the wait for the keyboard, while one is pending.
    std::optional<std::chrono::milliseconds> keyboardWait() const {
        return onFree_ ? std::optional(grace_) : std::nullopt;
    }
    // The locker let go of the keyboard, or the grace passed: a pending wait ends.
    void freeKeyboard();

    // Escape pressed in the veil at `index`.
    void pressEscape(std::size_t index);
    // The cancel button of the primary veil.
    void pressCancel();

    void setInitialPresentationOptions(PresentationOptions options) { options_ = options; }

    std::vector<ShieldScreen> screens() const override { return screens_; }
    std::optional<ShieldScreen> mainScreen() const override { return mainScreen_; }
    void showVeil(const ShieldScreen& screen, bool isPrimary, ShieldOverlayController& controller,
                  std::function<void()> onEscape) override;
    void closeVeils() override;
    void yieldToLocker() override { yielding_ = true; }
    void whenKeyboardFree(std::chrono::milliseconds grace, std::function<void()> onFree) override {
        grace_ = grace;
        onFree_ = std::move(onFree);
    }
    PresentationOptions presentationOptions() const override { return options_; }
    void setPresentationOptions(PresentationOptions options) override;
    void setScreensChangedHandler(std::function<void()> handler) override {
        screensChanged_ = std::move(handler);
    }

private:
    std::vector<ShieldScreen> screens_;
    std::optional<ShieldScreen> mainScreen_;
    std::vector<Veil> veils_;
    int veilsShown_ = 0;
    PresentationOptions options_;
    std::vector<PresentationOptions> presentationHistory_;
    std::function<void()> screensChanged_;
    bool yielding_ = false;
    std::chrono::milliseconds grace_{0};
    std::function<void()> onFree_;
};

} // namespace kivo
