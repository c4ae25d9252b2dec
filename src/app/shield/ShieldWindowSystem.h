#pragma once

#include "app/shield/PresentationOptions.h"
#include "app/shield/ShieldScreen.h"

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace kivo {

class ShieldOverlayController;

// What the unlock shield needs from the windowing system: the screens and their changes, one veil
// window per screen, and the desktop's presentation options.
class ShieldWindowSystem {
public:
    virtual ~ShieldWindowSystem() = default;

    // The connected screens in the system's order; the main one, if the system names one.
    virtual std::vector<ShieldScreen> screens() const = 0;
    virtual std::optional<ShieldScreen> mainScreen() const = 0;

    // Puts a borderless veil over the whole screen, above every other window, and makes it key. The
    // primary veil shows the controller's countdown and its cancel button; Escape pressed in any veil
    // runs `onEscape`, which takes the veils down: run a copy of it, not the stored one.
    virtual void showVeil(const ShieldScreen& screen, bool isPrimary, ShieldOverlayController& controller,
                          std::function<void()> onEscape) = 0;
    // Takes every veil down, and drops a wait for the keyboard.
    virtual void closeVeils() = 0;

    // For a screen locker: lets go of the keyboard and the pointer at once and stops raising the veils
    // over other windows, or showing again one hidden from outside, until veils are shown anew. The
    // veils stay where they are, under the locker's windows.
    virtual void yieldToLocker() = 0;
    // `onFree` runs once, when no other program holds the keyboard or the pointer any more: after one
    // held them and let go, or when `grace` has passed with none taking them. A later call replaces it; an
    // empty one stops the wait.
    virtual void whenKeyboardFree(std::chrono::milliseconds grace, std::function<void()> onFree) = 0;

    virtual PresentationOptions presentationOptions() const = 0;
    virtual void setPresentationOptions(PresentationOptions options) = 0;

    // `handler` runs on the main thread whenever the set of screens or their frames change; an empty
    // handler stops the notifications.
    virtual void setScreensChangedHandler(std::function<void()> handler) = 0;
};

} // namespace kivo
