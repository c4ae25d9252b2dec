#include "ScreenScenes.h"

#include "app/brightness/BrightnessTriggerStore.h"
#include "app/rules/BlockRuleStore.h"
#include "app/rules/PatternEditPresenter.h"
#include "app/shell/AppDelegate.h"
#include "browser-monitor/BrowserMonitor.h"
#include "core/ManualClock.h"
#include "ui/brightness/BrightnessTriggerPage.h"
#include "ui/more/MorePage.h"
#include "ui/rules/PatternEditSheet.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/rules/RulesPage.h"
#include "ui/screens/ScreenPages.h"
#include "ui/shell/DesktopShell.h"
#include "ui/shell/MainWindow.h"

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>

namespace kivo {
namespace {

// A section page in a window of the main window's size; it goes with the main window.
template <class Page> Page* page(DesktopShell& shell, QWidget* (*build)(UiContext&)) {
    QWidget* host = build(shell.context());
    host->setParent(&shell.mainWindow(), Qt::Window);
    host->resize(shell.mainWindow().size());
    host->show();
    return host->findChild<Page*>();
}

// The rule set a user has after a few minutes: a second group with patterns of both kinds.
Uuid studyGroup(DesktopShell& shell) {
    auto& store = shell.delegate().store();
    const auto week = BlockSchedule::recurring(
        RecurringSchedule{{DayOfWeek::monday, DayOfWeek::wednesday}, {{540, 720}, {780, 1020}}});
    BlockRuleGroup group{Uuid::random(),
                         "Study <b>hours</b>",
                         true,
                         {BlockRule{Uuid::random(), "*news.example/*", true, RuleAction::block, {}, {}},
                          BlockRule{Uuid::random(), "*video.example/shorts/*", false, RuleAction::block,
                                    Url::parse("https://focus.example/"), true},
                          BlockRule{Uuid::random(), "news.example/weather", true, RuleAction::allow, {}, {}}},
                         false,
                         week,
                         UnlockPolicy::waitWithBackoff(5, ResetInterval::hours(24)),
                         Url::parse("https://focus.example/"),
                         true};
    store.addGroup(group);
    return group.id;
}

// The bus is read when the rule screens are shown; a browser is named at the reading a few seconds later.
QWidget* afterUnseenBrowsersNamed(DesktopShell& shell, ManualClock& clock, QWidget* shown) {
    auto& monitor = shell.delegate().browserMonitor();
    const auto settle = [&] {
        QElapsedTimer t;
        t.start();
        while (monitor.isReadingUnseenBrowsers() && t.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    };
    settle();
    clock.advance(UnseenBrowsers::kReadInterval);
    settle();
    return shown;
}

RuleDetailPage* detail(DesktopShell& shell) {
    const Uuid id = studyGroup(shell);
    return page<RulesPage>(shell, &ScreenPages::rules)->openGroup(id);
}

} // namespace

std::vector<Scene> screenScenes() {
    return {
        {"screen-rules", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             studyGroup(s);
             return page<RulesPage>(s, &ScreenPages::rules)->window();
         }},
        {"screen-rule-detail", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* { return detail(s)->window(); }},
        {"screen-rules-automation-denied", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             return page<RulesPage>(s, &ScreenPages::rules)->window();
         },
         true},
        {"screen-rule-detail-automation-denied", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* { return detail(s)->window(); }, true},
        {"screen-rules-wayland-unseen", true, false,
         [](DesktopShell& s, ManualClock& clock) -> QWidget* {
             return afterUnseenBrowsersNamed(s, clock, page<RulesPage>(s, &ScreenPages::rules)->window());
         },
         false, true},
        {"screen-rule-detail-wayland-unseen", true, false,
         [](DesktopShell& s, ManualClock& clock) -> QWidget* {
             return afterUnseenBrowsersNamed(s, clock, detail(s)->window());
         },
         false, true},
        {"sheet-group-add", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             return page<RulesPage>(s, &ScreenPages::rules)->openAddSheet();
         }},
        {"sheet-group-settings", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* { return detail(s)->openSettingsSheet(); }},
        {"sheet-group-reorder", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             studyGroup(s);
             return page<RulesPage>(s, &ScreenPages::rules)->openReorderSheet();
         }},
        {"sheet-pattern-add", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             auto* sheet = static_cast<PatternEditSheet*>(detail(s)->openAddSheet());
             sheet->typePattern(QStringLiteral("HTTPS://Video.example/shorts/?t=1"));
             return sheet;
         }},
        {"sheet-pattern-edit", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             RuleDetailPage* d = detail(s);
             const auto& groups = s.delegate().store().groups();
             return d->openEditSheet(groups.back().rules[1].id);
         }},
        {"screen-display", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             return page<BrightnessTriggerPage>(s, &ScreenPages::display)->window();
         }},
        {"sheet-trigger-add", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             return page<BrightnessTriggerPage>(s, &ScreenPages::display)->openAddSheet();
         }},
        {"sheet-trigger-edit", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             const Uuid id = s.delegate().brightnessTriggerStore().triggers().front().id();
             return page<BrightnessTriggerPage>(s, &ScreenPages::display)->openEditSheet(id);
         }},
        {"screen-more", true, false,
         [](DesktopShell& s, ManualClock&) -> QWidget* {
             return page<MorePage>(s, &ScreenPages::more)->window();
         }},
    };
}

} // namespace kivo
