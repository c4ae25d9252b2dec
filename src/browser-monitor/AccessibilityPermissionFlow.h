#pragma once

#include "browser-monitor/PromptingBrowser.h"

#include <QObject>

#include <optional>
#include <set>
#include <string>

namespace kivo {

class AccessibilityTree;
class DefaultsStore;
class SettingsOpener;

// Decides when to ask the user for the Accessibility permission: when a browser that is reached through
// its accessibility tree comes to the front while Kivo is not trusted. The main window shows a sheet
// while `promptingBrowser` is set and answers with grant, dismiss or suppress. Suppressed browsers are
// kept in the defaults database. Only a settled answer of the tree counts: while it is still finding the
// switch out, the request waits for it; and once Kivo is trusted the prompt closes. Main thread only.
class AccessibilityPermissionFlow : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kSuppressedKey = "accessibilityPromptSuppressedBundleIds";

    AccessibilityPermissionFlow(AccessibilityTree& tree, SettingsOpener& settings, DefaultsStore& defaults,
                                QObject* parent = nullptr);
    ~AccessibilityPermissionFlow() override;

    const std::optional<PromptingBrowser>& promptingBrowser() const { return promptingBrowser_; }

    void requestPrompt(const std::string& bundleId, const std::string& displayName);
    // Opens the Accessibility settings, then closes the prompt.
    void grant();
    // Closes the prompt; the browser may be asked about again.
    void dismiss();
    // Never asks about the prompting browser again, then closes the prompt.
    void suppress();

    // The stored set; empty when absent or not an array of texts.
    std::set<std::string> suppressedBundleIds() const;

signals:
    void promptingBrowserChanged();

private:
    void setPromptingBrowser(std::optional<PromptingBrowser> value);
    void trustChanged();

    AccessibilityTree& tree_;
    SettingsOpener& settings_;
    DefaultsStore& defaults_;
    std::optional<PromptingBrowser> promptingBrowser_;
    std::optional<PromptingBrowser> waiting_; // asked for while the tree's answer was not settled
    int trustObserver_ = 0;
};

} // namespace kivo
