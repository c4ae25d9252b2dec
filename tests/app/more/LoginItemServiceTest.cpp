#include "app/more/LoginItemService.h"
#include "platform/simulated/SimulatedLoginItem.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(LoginItemService, readsTheSystemStatusAtConstructionAndChangesNothing) {
    for (const auto& [status, enabled] :
         {std::pair{LoginItemStatus::Enabled, true}, std::pair{LoginItemStatus::NotRegistered, false},
          std::pair{LoginItemStatus::RequiresApproval, false}, std::pair{LoginItemStatus::NotFound, false}}) {
        SimulatedLoginItem port(status);
        LoginItemService service(port);
        EXPECT_EQ(service.isEnabled(), enabled);
        EXPECT_EQ(port.registerCalls() + port.unregisterCalls(), 0);
    }
}

struct SetEnabledCase {
    const char* name;
    LoginItemStatus initial;
    bool request;
    QString failure;
    bool needsApproval;
    bool expectedEnabled;
    int expectedSignals;
    const char* expectedLog;
};

class LoginItemServiceSetEnabled : public ::testing::TestWithParam<SetEnabledCase> {};

TEST_P(LoginItemServiceSetEnabled, showsWhatTheSystemReportsAfterwards) {
    const auto& c = GetParam();
    SimulatedLoginItem port(c.initial);
    port.setFailure(c.failure);
    port.setRegistrationNeedsApproval(c.needsApproval);
    LoginItemService service(port);
    int changes = 0;
    QObject::connect(&service, &LoginItemService::isEnabledChanged, [&changes] { ++changes; });
    test::LogCapture log;

    service.setEnabled(c.request);

    EXPECT_EQ(service.isEnabled(), c.expectedEnabled);
    EXPECT_EQ(changes, c.expectedSignals);
    EXPECT_TRUE(log.contains(c.expectedLog)) << c.expectedLog;
    EXPECT_EQ(c.request ? port.registerCalls() : port.unregisterCalls(), 1) << "the system is always asked";
}

INSTANTIATE_TEST_SUITE_P(
    Table, LoginItemServiceSetEnabled,
    ::testing::Values(
        SetEnabledCase{"turnOn",
                       LoginItemStatus::NotRegistered,
                       true,
                       {},
                       false,
                       true,
                       1,
                       "app.kivo.Kivo.lifecycle|info|Login item set to true"},
        SetEnabledCase{"turnOff",
                       LoginItemStatus::Enabled,
                       false,
                       {},
                       false,
                       false,
                       1,
                       "app.kivo.Kivo.lifecycle|info|Login item set to false"},
        SetEnabledCase{"approvalPending",
                       LoginItemStatus::NotRegistered,
                       true,
                       {},
                       true,
                       false,
                       0,
                       "app.kivo.Kivo.lifecycle|info|Login item set to true"},
        SetEnabledCase{"failingUnregister", LoginItemStatus::Enabled, false, "permission denied", false, true,
                       0, "app.kivo.Kivo.lifecycle|critical|Login item toggle failed: permission denied"},
        SetEnabledCase{"failingRegister", LoginItemStatus::NotRegistered, true, "disk full", false, false, 0,
                       "app.kivo.Kivo.lifecycle|critical|Login item toggle failed: disk full"},
        SetEnabledCase{"offWhenAlreadyOff",
                       LoginItemStatus::NotRegistered,
                       false,
                       {},
                       false,
                       false,
                       0,
                       "app.kivo.Kivo.lifecycle|info|Login item set to false"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoginItemService, aChangeMadeElsewhereShowsAfterTheNextToggle) {
    SimulatedLoginItem port(LoginItemStatus::Enabled);
    LoginItemService service(port);
    port.setStatus(LoginItemStatus::NotRegistered); // switched off in the desktop's settings
    EXPECT_TRUE(service.isEnabled());
    service.setEnabled(true);
    EXPECT_TRUE(service.isEnabled());
    EXPECT_EQ(port.status(), LoginItemStatus::Enabled);
}

} // namespace
} // namespace kivo
