#include "browser-monitor/AccessibilityPermissionFlow.h"

#include "browser-monitor/AccessibilityBrowserBridge.h"
#include "browser-monitor/ports/AccessibilityTree.h"
#include "core/Log.h"
#include "settings/DefaultsStore.h"

#include <utility>

namespace kivo {

AccessibilityPermissionFlow::AccessibilityPermissionFlow(AccessibilityTree& tree, SettingsOpener& settings,
                                                         DefaultsStore& defaults, QObject* parent)
    : QObject(parent), tree_(tree), settings_(settings), defaults_(defaults) {
    trustObserver_ = tree_.addTrustObserver([this] { trustChanged(); });
}

AccessibilityPermissionFlow::~AccessibilityPermissionFlow() {
    tree_.removeTrustObserver(trustObserver_);
}

void AccessibilityPermissionFlow::setPromptingBrowser(std::optional<PromptingBrowser> value) {
    if (value == promptingBrowser_) {
        return;
    }
    promptingBrowser_ = std::move(value);
    emit promptingBrowserChanged();
}

void AccessibilityPermissionFlow::requestPrompt(const std::string& bundleId, const std::string& displayName) {
    if (tree_.isTrusted()) {
        return;
    }
    if (suppressedBundleIds().count(bundleId) > 0) {
        return;
    }
    if (promptingBrowser_) {
        return; // one prompt at a time; the first browser keeps it
    }
    if (!tree_.isTrustSettled()) {
        // The switch may have just been turned on; the first browser asked about waits for the answer.
        if (!waiting_) {
            waiting_ = PromptingBrowser{bundleId, displayName};
        }
        return;
    }
    setPromptingBrowser(PromptingBrowser{bundleId, displayName});
}

void AccessibilityPermissionFlow::trustChanged() {
    if (tree_.isTrusted()) {
        waiting_.reset();
        setPromptingBrowser(std::nullopt); // nothing left to ask for
        return;
    }
    if (waiting_ && tree_.isTrustSettled()) {
        const PromptingBrowser browser = *std::exchange(waiting_, std::nullopt);
        requestPrompt(browser.bundleId, browser.displayName);
    }
}

void AccessibilityPermissionFlow::grant() {
    AccessibilityBrowserBridge::openAccessibilitySettings(settings_);
    setPromptingBrowser(std::nullopt);
}

void AccessibilityPermissionFlow::dismiss() {
    setPromptingBrowser(std::nullopt);
}

void AccessibilityPermissionFlow::suppress() {
    if (!promptingBrowser_) {
        return;
    }
    // An unreadable stored value counts as empty and is replaced here as a whole.
    auto ids = suppressedBundleIds();
    ids.insert(promptingBrowser_->bundleId);
    if (auto written = defaults_.setValue(kSuppressedKey, ids); !written) { // an array, in sorted order
        qCWarning(lcAutomation, "Could not store the suppressed accessibility prompts");
    }
    setPromptingBrowser(std::nullopt);
}

std::set<std::string> AccessibilityPermissionFlow::suppressedBundleIds() const {
    const auto stored = defaults_.arrayValue(kSuppressedKey);
    if (!stored.isPresent()) {
        return {};
    }
    std::set<std::string> ids;
    for (const auto& element : *stored.value) {
        if (!element.is_string()) {
            return {};
        }
        ids.insert(element.get<std::string>());
    }
    return ids;
}

} // namespace kivo
