#include "platform/simulated/SimulatedShieldWindowSystem.h"

#include "app/shield/ShieldOverlayController.h"

#include <utility>

namespace kivo {

SimulatedShieldWindowSystem::SimulatedShieldWindowSystem() {
    const ShieldScreen screen{"screen-0", QRect(0, 0, 1920, 1080)};
    screens_ = {screen};
    mainScreen_ = screen;
}

void SimulatedShieldWindowSystem::setScreens(std::vector<ShieldScreen> screens,
                                             std::optional<ShieldScreen> mainScreen) {
    screens_ = std::move(screens);
    mainScreen_ = std::move(mainScreen);
    if (screensChanged_) {
        auto handler = screensChanged_;
        handler();
    }
}

void SimulatedShieldWindowSystem::pressEscape(std::size_t index) {
    if (index >= veils_.size()) {
        return;
    }
    auto onEscape = veils_[index].onEscape; // it takes the veils down while it runs
    if (onEscape) {
        onEscape();
    }
}

void SimulatedShieldWindowSystem::pressCancel() {
    for (const auto& veil : veils_) {
        if (veil.isPrimary && veil.controller) {
            veil.controller->dismiss(false);
            return;
        }
    }
}

void SimulatedShieldWindowSystem::showVeil(const ShieldScreen& screen, bool isPrimary,
                                           ShieldOverlayController& controller,
                                           std::function<void()> onEscape) {
    yielding_ = false;
    veils_.push_back(Veil{screen, isPrimary, &controller, std::move(onEscape)});
    ++veilsShown_;
}

void SimulatedShieldWindowSystem::closeVeils() {
    veils_.clear();
    yielding_ = false;
    onFree_ = nullptr;
}

void SimulatedShieldWindowSystem::freeKeyboard() {
    auto onFree = std::move(onFree_);
    onFree_ = nullptr;
    if (onFree) {
        onFree();
    }
}

void SimulatedShieldWindowSystem::setPresentationOptions(PresentationOptions options) {
    options_ = options;
    presentationHistory_.push_back(options);
}

} // namespace kivo
