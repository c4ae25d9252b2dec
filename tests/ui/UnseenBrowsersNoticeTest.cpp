#include "ui/components/UnseenBrowsersNotice.h"
#include "app/language/LocalizedStrings.h"
#include "app/rules/BlockRuleStore.h"
#include "app/shell/AppDelegate.h"
#include "support/TestSupport.h"
#include "ui/ScreenRig.h"
#include "ui/ShellRig.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/rules/RulesPage.h"
#include "ui/screens/ScreenPages.h"

#include <QAbstractButton>
#include <QLabel>

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(UnseenBrowsersNotice, TheRuleScreensNameTheBrowsersKivoCannotSeeWithNothingToPress) {
    for (const auto language : {LanguagePreference::japanese(), LanguagePreference::english()}) {
        SCOPED_TRACE(std::string(language.rawValue()));
        test::ShellRig rig(nlohmann::json{{"kivo.onboardingCompletedVersion", 1},
                                          {"kivo.languagePreference", std::string(language.rawValue())}});
        // Firefox runs natively on Wayland (on the bus, no window); Chromium shows its window to Kivo.
        const int chromium = rig.ports.world.addBrowser("com.google.Chrome", {"https://a.test/"});
        rig.ports.busBrowsers.setBrowsers(
            {{"org.mozilla.firefox", "Firefox", {70001}}, {"com.google.Chrome", "Chromium", {chromium}}});
        rig.shell->launch();
        auto& monitor = rig.shell->delegate().browserMonitor();
        std::unique_ptr<QWidget> host(ScreenPages::rules(rig.shell->context()));
        host->show();
        ASSERT_TRUE(test::waitUntil([&] { return !monitor.isReadingUnseenBrowsers(); }));
        rig.clock.advance(UnseenBrowsers::kReadInterval);
        ASSERT_TRUE(test::waitUntil([&] { return !monitor.unseenBrowserNames().empty(); }));
        test::processEvents();

        auto* rules = host->findChild<RulesPage*>();
        RuleDetailPage* detail = rules->openGroup(rig.shell->delegate().store().groups().front().id);
        const auto& localizer = rig.shell->delegate().localizer();
        const QString title = localizer.text(Strings::Permissions::Wayland::title(), language);
        const QString message =
            localizer.text(Strings::Permissions::Wayland::message(QStringLiteral("Firefox")), language);
        EXPECT_TRUE(message.contains(QStringLiteral("XWayland")));
        for (QWidget* screen : {static_cast<QWidget*>(rules->listPage()), static_cast<QWidget*>(detail)}) {
            auto* notice = screen->findChild<UnseenBrowsersNotice*>();
            ASSERT_NE(notice, nullptr);
            EXPECT_FALSE(notice->isHidden());
            EXPECT_EQ(notice->title()->text(), title);
            EXPECT_EQ(notice->message()->text(), message);
            EXPECT_EQ(notice->accessibleName(), title);
            EXPECT_EQ(notice->accessibleDescription(), message);
            EXPECT_TRUE(notice->findChildren<QAbstractButton*>().isEmpty()) << "no setting can help";
        }
    }
}

TEST(UnseenBrowsersNotice, TheRulesPageWatchesWhileShownAndShowsNoNoticeWhileAllAreSeen) {
    test::ScreenRig rig;
    int watching = 0;
    rig.context.unseenBrowserNames = [] { return std::vector<std::string>{}; };
    rig.context.watchUnseenBrowsers = [&] {
        ++watching;
        return std::shared_ptr<void>(nullptr, [&](void*) { --watching; });
    };
    auto* page = new RulesPage(rig.context, &rig.window);
    EXPECT_EQ(watching, 0) << "not yet shown";
    page->show();
    EXPECT_EQ(watching, 1);
    EXPECT_TRUE(page->unseenBrowsersNotice()->isHidden());
    rig.window.hide();
    EXPECT_EQ(watching, 0);
    rig.window.show();
    EXPECT_EQ(watching, 1);
    delete page;
    EXPECT_EQ(watching, 0);
}

} // namespace
} // namespace kivo
