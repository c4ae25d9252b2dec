#pragma once

#include "browser-monitor/PortGate.h"
#include "browser-monitor/ports/AccessibilityTree.h"

#include <memory>

namespace kivo {

// An accessibility tree that jobs own: it forwards to the real port until its gate closes, and
// answers "cannot read" from then on.
class GuardedAccessibilityTree final : public AccessibilityTree {
public:
    GuardedAccessibilityTree(AccessibilityTree& tree, std::shared_ptr<PortGate> gate)
        : tree_(tree), gate_(std::move(gate)) {}

    bool isTrusted() override {
        return gate_->call([&] { return tree_.isTrusted(); }, false);
    }
    bool isTrustSettled() override {
        return gate_->call([&] { return tree_.isTrustSettled(); }, true);
    }
    ObserverToken addTrustObserver(std::function<void()> observer) override {
        return gate_->call([&] { return tree_.addTrustObserver(std::move(observer)); }, 0);
    }
    void removeTrustObserver(ObserverToken token) override {
        gate_->call(
            [&] {
                tree_.removeTrustObserver(token);
                return true;
            },
            false);
    }
    AccessibilityElement applicationElement(int processId) override {
        return gate_->call([&] { return tree_.applicationElement(processId); }, AccessibilityElement{});
    }
    std::optional<std::string> role(const AccessibilityElement& element) override {
        return gate_->call([&] { return tree_.role(element); }, std::optional<std::string>());
    }
    std::optional<std::string> url(const AccessibilityElement& element) override {
        return gate_->call([&] { return tree_.url(element); }, std::optional<std::string>());
    }
    std::optional<std::vector<AccessibilityElement>> children(const AccessibilityElement& element) override {
        return gate_->call([&] { return tree_.children(element); },
                           std::optional<std::vector<AccessibilityElement>>());
    }
    std::optional<AccessibilityElement> focusedWindow(const AccessibilityElement& application) override {
        return gate_->call([&] { return tree_.focusedWindow(application); },
                           std::optional<AccessibilityElement>());
    }
    bool raiseWindow(const AccessibilityElement& window) override {
        return gate_->call([&] { return tree_.raiseWindow(window); }, false);
    }
    std::optional<WindowHandle> windowHandle(const AccessibilityElement& window) override {
        return gate_->call([&] { return tree_.windowHandle(window); }, std::optional<WindowHandle>());
    }
    bool isActive(const AccessibilityElement& window) override {
        return gate_->call([&] { return tree_.isActive(window); }, false);
    }
    std::optional<AddressField> addressField(const AccessibilityElement& window) override {
        return gate_->call([&] { return tree_.addressField(window); }, std::optional<AddressField>());
    }
    std::optional<bool> isLoading(const AccessibilityElement& webArea) override {
        return gate_->call([&] { return tree_.isLoading(webArea); }, std::optional<bool>());
    }
    bool setBooleanAttribute(const AccessibilityElement& element, const std::string& name,
                             bool value) override {
        return gate_->call([&] { return tree_.setBooleanAttribute(element, name, value); }, false);
    }

private:
    AccessibilityTree& tree_;
    std::shared_ptr<PortGate> gate_;
};

} // namespace kivo
