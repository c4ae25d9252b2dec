#pragma once

#include "browser-monitor/ports/AccessibilityTree.h"
#include "platform/simulated/SimulatedBrowserWorld.h"

namespace kivo {

// The simulated browsers' accessibility trees: by default application > window > group > web area
// showing the window's front-tab URL, or a hand-made tree set on the world.
class SimulatedAccessibilityTree final : public AccessibilityTree {
public:
    explicit SimulatedAccessibilityTree(SimulatedBrowserWorld& world) : world_(world) {}

    bool isTrusted() override { return world_.portIsTrusted(); }
    bool isTrustSettled() override { return world_.portIsTrustSettled(); }
    ObserverToken addTrustObserver(std::function<void()> observer) override {
        return world_.portAddTrustObserver(std::move(observer));
    }
    void removeTrustObserver(ObserverToken token) override { world_.portRemoveTrustObserver(token); }
    AccessibilityElement applicationElement(int processId) override {
        return world_.portApplicationElement(processId);
    }
    std::optional<std::string> role(const AccessibilityElement& e) override { return world_.portRole(e); }
    std::optional<std::string> url(const AccessibilityElement& e) override { return world_.portURL(e); }
    std::optional<std::vector<AccessibilityElement>> children(const AccessibilityElement& e) override {
        return world_.portChildren(e);
    }
    std::optional<AccessibilityElement> focusedWindow(const AccessibilityElement& e) override {
        return world_.portFocusedWindow(e);
    }
    bool raiseWindow(const AccessibilityElement& e) override { return world_.portRaiseWindow(e); }
    std::optional<WindowHandle> windowHandle(const AccessibilityElement& e) override {
        return world_.portWindowHandle(e);
    }
    bool isActive(const AccessibilityElement& e) override { return world_.portIsActive(e); }
    std::optional<AddressField> addressField(const AccessibilityElement& e) override {
        return world_.portAddressField(e);
    }
    std::optional<bool> isLoading(const AccessibilityElement& e) override { return world_.portIsLoading(e); }
    bool setBooleanAttribute(const AccessibilityElement& e, const std::string& name, bool value) override {
        return world_.portSetBooleanAttribute(e, name, value);
    }

private:
    SimulatedBrowserWorld& world_;
};

} // namespace kivo
