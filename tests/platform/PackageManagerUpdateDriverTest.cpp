#include "platform/linux/PackageManagerUpdateDriver.h"
#include "app/errors/ErrorReporter.h"
#include "app/update/KivoUpdaterDelegate.h"
#include "app/update/KivoUserDriverDelegate.h"
#include "core/ManualClock.h"
#include "settings/MemoryDefaultsStore.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(PackageManagerUpdateDriver, neverOffersAnUpdate) {
    ManualClock clock;
    MemoryDefaultsStore defaults;
    ErrorReporter reporter(clock);
    KivoUpdaterDelegate updaterDelegate(defaults, reporter);
    KivoUserDriverDelegate userDriverDelegate;
    PackageManagerUpdateDriver driver;
    driver.start(updaterDelegate, userDriverDelegate);
    EXPECT_FALSE(driver.canCheckForUpdates());

    test::LogCapture log;
    driver.checkForUpdates();
    EXPECT_TRUE(log.lines().empty()) << "the answer comes later, not inside the call";
    ASSERT_TRUE(test::waitUntil([&] { return !log.lines().empty(); }));
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{"app.kivo.Kivo.update|info|Sparkle update cycle finished"});
    EXPECT_FALSE(defaults.contains("lastUpdateInstallAttempt"));
}

TEST(PackageManagerUpdateDriver, aCheckAfterTheDelegateIsGoneDoesNothing) {
    ManualClock clock;
    MemoryDefaultsStore defaults;
    ErrorReporter reporter(clock);
    KivoUserDriverDelegate userDriverDelegate;
    PackageManagerUpdateDriver driver;
    {
        KivoUpdaterDelegate updaterDelegate(defaults, reporter);
        driver.start(updaterDelegate, userDriverDelegate);
    }
    test::LogCapture log;
    driver.checkForUpdates();
    test::processEvents();
    EXPECT_TRUE(log.lines().empty());
}

} // namespace
} // namespace kivo
