#include "ui/screens/ScreenPages.h"

#include "app/shell/AppDelegate.h"
#include "browser-monitor/BrowserMonitor.h"
#include "ui/UiContext.h"
#include "ui/brightness/BrightnessTriggerPage.h"
#include "ui/more/MorePage.h"
#include "ui/rules/RulesPage.h"
#include "ui/screens/ScreenContext.h"

#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace kivo {
namespace {

// Holds the context its page was built from; the page and its sheets go before the context does.
class ScreenHost : public QWidget {
public:
    explicit ScreenHost(std::unique_ptr<ScreenContext> context) : context_(std::move(context)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    ~ScreenHost() override {
        const QObjectList kids = children();
        for (QObject* child : kids) {
            if (child->isWidgetType()) {
                delete child;
            }
        }
    }
    const ScreenContext& context() const { return *context_; }
    void setPage(QWidget* page) { layout()->addWidget(page); }

private:
    std::unique_ptr<ScreenContext> context_;
};

std::unique_ptr<ScreenContext> contextFor(UiContext& ui, bool withUpdater) {
    auto context = std::make_unique<ScreenContext>(ui.store, ui.overlayController, ui.brightnessTriggerStore,
                                                   ui.brightnessController, ui.loginItemService,
                                                   ui.languageController, ui.localizer);
    BrowserMonitor* monitor = &ui.browserMonitor;
    AppDelegate* delegate = &ui.delegate;
    context->monitor = monitor;
    context->deniedBrowserNames = [monitor] { return monitor->deniedBrowserNames(); };
    context->openAutomationSettings = [delegate] { delegate->openAutomationSettings(); };
    context->unseenBrowserNames = [monitor] { return monitor->unseenBrowserNames(); };
    context->watchUnseenBrowsers = [monitor] { return monitor->watchUnseenBrowsers(); };
    context->links = LinkAddresses::builtIn();
    context->quitFlow = &ui.quitFlow;
    context->eraseFlow = &ui.eraseFlow;
    context->uninstallFlow = &ui.uninstallFlow;
    context->showMainWindow = [delegate] { delegate->showMainWindow(); };
    context->quitAction = delegate->userApprovedQuitAction();
    context->eraseAllDataAction = delegate->eraseAllDataAction();
    context->uninstallAction = delegate->uninstallAction();
    if (withUpdater) {
        context->updater = &delegate->updaterController();
    }
    return context;
}

template <class Page> QWidget* hosted(UiContext& ui, bool withUpdater = false) {
    auto* host = new ScreenHost(contextFor(ui, withUpdater));
    host->setPage(new Page(host->context(), host));
    return host;
}

} // namespace

namespace ScreenPages {

QWidget* rules(UiContext& ui) {
    return hosted<RulesPage>(ui);
}

QWidget* display(UiContext& ui) {
    return hosted<BrightnessTriggerPage>(ui);
}

QWidget* more(UiContext& ui) {
    return hosted<MorePage>(ui, true);
}

} // namespace ScreenPages
} // namespace kivo
