#include "app/errors/ErrorReporter.h"
#include "app/update/KivoUpdaterDelegate.h"
#include "app/update/KivoUserDriverDelegate.h"
#include "core/ManualClock.h"
#include "platform/simulated/SimulatedUpdateDriver.h"
#include "settings/MemoryDefaultsStore.h"

#include "app/errors/RecordingEnvelopeTransport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace kivo {
namespace {

const ReportedError kExpectedAbort{"SUSparkleErrorDomain", 1001, "No update"};
const ReportedError kExpectedInstall{"SUSparkleErrorDomain", 1206, "Install cancelled"};
const ReportedError kSameCodeElsewhere{"NSURLErrorDomain", 1001, "Timed out"};
const ReportedError kOtherCode{"SUSparkleErrorDomain", 2001, "Bad signature"};
const UpdateItem kItem{"2.1", "210", QUrl("https://kivo.app/downloads/Kivo-2.1.tar.gz")};

class UpdateHooks : public ::testing::Test {
protected:
    ManualClock clock;
    std::vector<test::RecordingEnvelopeTransport::Sent> sent;
    MemoryDefaultsStore defaults;
    ErrorReporter reporter{clock, std::make_unique<test::RecordingEnvelopeTransport>(sent)};
    KivoUpdaterDelegate updaterDelegate{defaults, reporter};
    KivoUserDriverDelegate userDriverDelegate;
    SimulatedUpdateDriver driver;

    void SetUp() override {
        reporter.start(ErrorReportingOptions::kivoDefaults());
        driver.start(updaterDelegate, userDriverDelegate);
    }
};

struct CallbackCase {
    const char* name;
    std::function<void(SimulatedUpdateDriver&)> fire;
    const char* log;
    int reports;
    bool withContext;
};

class UpdateCallbacks : public UpdateHooks, public ::testing::WithParamInterface<CallbackCase> {};

TEST_P(UpdateCallbacks, logAndReport) {
    const auto& c = GetParam();
    test::LogCapture log;
    c.fire(driver);
    ASSERT_EQ(log.lines().size(), 1u) << "one log line per callback";
    EXPECT_EQ(log.lines().front(), c.log);
    ASSERT_EQ(static_cast<int>(sent.size()), c.reports);
    if (c.reports > 0) {
        EXPECT_EQ(sent.front().event.level, "error");
        EXPECT_EQ(sent.front().event.contexts.contains("sparkle"), c.withContext);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, UpdateCallbacks,
    ::testing::Values(
        CallbackCase{"abortExpected", [](auto& d) { d.fireAbort(kExpectedAbort); },
                     "app.kivo.Kivo.update|info|Sparkle aborted (expected): code=1001 No update", 0, false},
        CallbackCase{
            "abortSameCodeOtherDomain", [](auto& d) { d.fireAbort(kSameCodeElsewhere); },
            "app.kivo.Kivo.update|critical|Sparkle aborted: domain=NSURLErrorDomain code=1001 Timed out", 1,
            false},
        CallbackCase{"abortOtherCode", [](auto& d) { d.fireAbort(kOtherCode); },
                     "app.kivo.Kivo.update|critical|Sparkle aborted: domain=SUSparkleErrorDomain code=2001 "
                     "Bad signature",
                     1, false},
        CallbackCase{
            "downloadFailedEvenIfExpected", [](auto& d) { d.fireDownloadFailed(kItem, kExpectedInstall); },
            "app.kivo.Kivo.update|critical|Sparkle download failed: target=2.1 Install cancelled", 1, true},
        CallbackCase{"downloaded", [](auto& d) { d.fireDownloaded(kItem); },
                     "app.kivo.Kivo.update|info|Sparkle downloaded: target=2.1", 0, false},
        CallbackCase{"extracted", [](auto& d) { d.fireExtracted(kItem); },
                     "app.kivo.Kivo.update|info|Sparkle extracted: target=2.1", 0, false},
        CallbackCase{"cycleFinished", [](auto& d) { d.fireCycleFinished(std::nullopt); },
                     "app.kivo.Kivo.update|info|Sparkle update cycle finished", 0, false},
        CallbackCase{"cycleFinishedExpected", [](auto& d) { d.fireCycleFinished(kExpectedInstall); },
                     "app.kivo.Kivo.update|info|Sparkle cycle finished (expected): code=1206", 0, false},
        CallbackCase{
            "cycleFinishedWithError", [](auto& d) { d.fireCycleFinished(kOtherCode); },
            "app.kivo.Kivo.update|critical|Sparkle cycle finished with error: domain=SUSparkleErrorDomain "
            "code=2001 Bad signature",
            1, false},
        CallbackCase{"sessionEnding", [](auto& d) { d.fireSessionEnding(); },
                     "app.kivo.Kivo.update|info|Sparkle update session ending", 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateHooks, feedIsASecureAppcastAddress) {
    const QUrl feed(driver.feedURL());
    EXPECT_EQ(feed.scheme(), "https");
    EXPECT_EQ(feed.path(), "/appcast.xml");
}

TEST_F(UpdateHooks, downloadFailureContextNamesTheItem) {
    driver.fireDownloadFailed(kItem, kOtherCode);
    driver.fireDownloadFailed(UpdateItem{"3.0", "300", std::nullopt}, kOtherCode);
    ASSERT_EQ(sent.size(), 2u);
    const auto first = sent[0].event.contexts.value("sparkle").toObject();
    EXPECT_EQ(first.value("target").toString(), "2.1");
    EXPECT_EQ(first.value("build").toString(), "210");
    EXPECT_EQ(first.value("fileURL").toString(), "https://kivo.app/downloads/Kivo-2.1.tar.gz");
    const auto second = sent[1].event.contexts.value("sparkle").toObject();
    ASSERT_TRUE(second.contains("fileURL"));
    EXPECT_EQ(second.value("fileURL").toString(), "");
}

TEST_F(UpdateHooks, willInstallMarksFirstThenApprovesTheQuit) {
    std::vector<std::string> order;
    updaterDelegate.onWillInstallUpdate = [&] {
        order.push_back("approve:" + defaults.stringValue("lastUpdateInstallAttempt").valueOr("none"));
    };
    test::LogCapture log;
    driver.fireWillInstall(kItem);
    EXPECT_EQ(order, std::vector<std::string>{"approve:2.1"});
    EXPECT_TRUE(log.contains("app.kivo.Kivo.update|info|Sparkle willInstallUpdate target=2.1"));

    updaterDelegate.onWillInstallUpdate = nullptr;
    driver.fireWillInstall(UpdateItem{"2.2", "220", std::nullopt});
    EXPECT_EQ(defaults.stringValue("lastUpdateInstallAttempt").valueOr(""), "2.2");
}

struct MarkerCase {
    const char* name;
    nlohmann::json marker; // null: none
    QString running;
    const char* log;     // nullptr: nothing logged
    const char* message; // nullptr: nothing reported
};

class InstallMarker : public UpdateHooks, public ::testing::WithParamInterface<MarkerCase> {};

TEST_P(InstallMarker, isComparedAndRemoved) {
    const auto& c = GetParam();
    if (!c.marker.is_null()) {
        defaults.plant("lastUpdateInstallAttempt", c.marker);
    }
    test::LogCapture log;
    updaterDelegate.checkInstallMarker(c.running);
    if (c.log) {
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_EQ(log.lines().front(), c.log);
        EXPECT_FALSE(defaults.contains("lastUpdateInstallAttempt"));
    } else {
        EXPECT_TRUE(log.lines().empty());
    }
    if (c.message) {
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent.front().event.message, QString::fromUtf8(c.message));
    } else {
        EXPECT_TRUE(sent.empty());
    }

    // The next launch finds nothing.
    log.clear();
    updaterDelegate.checkInstallMarker(c.running);
    EXPECT_TRUE(log.lines().empty() || !c.log);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InstallMarker,
    ::testing::Values(
        MarkerCase{"none", nullptr, "2.1", nullptr, nullptr},
        MarkerCase{"completed", "2.1", "2.1",
                   "app.kivo.Kivo.update|info|Sparkle install completed: now running 2.1", nullptr},
        MarkerCase{"didNotTake", "2.1", "2.0",
                   "app.kivo.Kivo.update|critical|Sparkle install marker present after relaunch: pending=2.1 "
                   "current=2.0",
                   "Sparkle install attempted target=2.1 but app launched as 2.0"},
        MarkerCase{"unknownRunningVersion", "2.1", "",
                   "app.kivo.Kivo.update|critical|Sparkle install marker present after relaunch: pending=2.1 "
                   "current=?",
                   "Sparkle install attempted target=2.1 but app launched as ?"},
        MarkerCase{"exactComparison", "2.1", "2.1.0",
                   "app.kivo.Kivo.update|critical|Sparkle install marker present after relaunch: pending=2.1 "
                   "current=2.1.0",
                   "Sparkle install attempted target=2.1 but app launched as 2.1.0"},
        MarkerCase{"notAString", 21, "2.1", nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kivo
