#include "ui/screens/ScreenPages.h"
#include "app/brightness/BrightnessController.h"
#include "app/brightness/BrightnessTriggerStore.h"
#include "app/shell/AppDelegate.h"
#include "support/AppRig.h"
#include "support/TestSupport.h"
#include "ui/UiContext.h"
#include "ui/brightness/BrightnessTriggerPage.h"
#include "ui/brightness/BrightnessTriggerSheet.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QSlider>

namespace kivo {
namespace {

TEST(ScreenPagesTest, PagesFromTheWindowContextWriteNothingAndTakeTheirSheetsWithThem) {
    test::AppRig rig;
    rig.delegate->applicationDidFinishLaunching();
    AppDelegate& d = *rig.delegate;
    UiContext ui{d.store(),
                 d.overlayController(),
                 d.brightnessTriggerStore(),
                 d.brightnessController(),
                 d.browserMonitor(),
                 d.loginItemService(),
                 d.languageController(),
                 rig.localizer,
                 d,
                 d.quitConfirmationFlow(),
                 d.eraseAllDataFlow(),
                 d.uninstallFlow(),
                 d.accessibilityFlow()};
    test::processEvents();
    const int before = rig.defaults.writeCount();
    for (QWidget* (*build)(UiContext&) : {&ScreenPages::rules, &ScreenPages::display, &ScreenPages::more}) {
        QWidget* page = build(ui);
        page->show();
        test::processEvents();
        delete page;
    }
    EXPECT_EQ(rig.defaults.writeCount(), before);

    // The content rebuilt (a language change) while a trigger sheet previews: the sheet goes with its page
    // and the preview ends.
    QWidget* display = ScreenPages::display(ui);
    auto* list = display->findChild<BrightnessTriggerPage*>();
    ASSERT_NE(list, nullptr);
    QPointer<QDialog> sheet = list->openEditSheet(d.brightnessTriggerStore().triggers().front().id());
    ASSERT_FALSE(sheet.isNull());
    const auto sliders = sheet->findChildren<QSlider*>();
    if (!sliders.isEmpty()) {
        sliders.front()->setValue(3);
        EXPECT_TRUE(d.brightnessController().isPreviewing());
    }
    delete display;
    EXPECT_TRUE(sheet.isNull());
    EXPECT_FALSE(d.brightnessController().isPreviewing());
}

} // namespace
} // namespace kivo
