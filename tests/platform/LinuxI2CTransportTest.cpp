#include "FakeI2CDevices.h"
#include "FakeSysfs.h"

#include "brightness-library/SystemDisplayBrightnessBackend.h"
#include "platform/linux/LinuxBacklightService.h"
#include "platform/linux/LinuxDrmDisplayList.h"
#include "platform/linux/LinuxI2CTransport.h"
#include "platform/linux/SystemPosixFileIo.h"
#include "platform/simulated/SimulatedSleepClock.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

using Faults = test::FakeI2CDevices::Faults;

TEST(LinuxI2CTransportTest, FindsEachConnectorsOwnBus) {
    test::FakeSysfs fs;
    const auto edid = test::makeEdid(0x10AC, 0x4242, "Studio");
    fs.connector("card0-DP-1", true, true, &edid);
    fs.link("sys/devices/pci0000:00/drm/card0/card0-DP-1/ddc", "../../../i2c-5");
    fs.connector("card0-DP-2", true, true);
    fs.write("sys/devices/pci0000:00/drm/card0/card0-DP-2/i2c-12/name", "DPDDC-B\n");
    fs.write("sys/devices/pci0000:00/drm/card0/card0-DP-2/i2c-7/name", "DPDDC-B\n");
    fs.connector("card0-eDP-1", true, true);
    fs.link("sys/devices/pci0000:00/drm/card0/card0-eDP-1/ddc", "../../../i2c-3");
    fs.connector("card0-HDMI-A-1", true, true);

    LinuxI2CTransport transport(fs.root(), std::make_shared<SystemPosixFileIo>());
    EXPECT_EQ(transport.busEntries("card0-DP-1"), (std::vector<DdcBusEntry>{{"i2c-5", "card0-DP-1", edid}}));
    EXPECT_EQ(transport.busEntries("card0-DP-2"),
              (std::vector<DdcBusEntry>{{"i2c-7", "card0-DP-2", std::nullopt},
                                        {"i2c-12", "card0-DP-2", std::nullopt}}));
    EXPECT_EQ(transport.busEntries("card0-eDP-1"),
              (std::vector<DdcBusEntry>{{"i2c-3", "embedded", std::nullopt}}));
    EXPECT_TRUE(transport.busEntries("card0-HDMI-A-1").empty());
    EXPECT_TRUE(transport.busEntries("../../etc").empty());
    EXPECT_TRUE(transport.busEntries("card9-DP-1").empty());
}

// Two identical monitors on a fake tree, reached through the real display list, backlight and I2C adapter.
struct DeviceRig {
    test::FakeSysfs fs;
    std::shared_ptr<test::FakeI2CDevices> io = std::make_shared<test::FakeI2CDevices>();
    std::shared_ptr<SimulatedSleepClock> clock = std::make_shared<SimulatedSleepClock>();
    std::shared_ptr<SimulatedDdcMonitor> left = std::make_shared<SimulatedDdcMonitor>(10, 100, clock);
    std::shared_ptr<SimulatedDdcMonitor> right = std::make_shared<SimulatedDdcMonitor>(10, 100, clock);
    std::unique_ptr<SystemDisplayBrightnessBackend> backend;

    explicit DeviceRig(Faults rightFaults = {}) {
        const auto edid = test::makeEdid(0x10AC, 0x4242, "Twin");
        fs.connector("card0-DP-1", true, true, &edid);
        fs.link("sys/devices/pci0000:00/drm/card0/card0-DP-1/ddc", "../../../i2c-5");
        fs.connector("card0-DP-2", true, true, &edid);
        fs.link("sys/devices/pci0000:00/drm/card0/card0-DP-2/ddc", "../../../i2c-6");
        io->addDevice((fs.root() / "dev/i2c-5").string(), left);
        io->addDevice((fs.root() / "dev/i2c-6").string(), right, rightFaults);
        auto list = std::make_shared<LinuxDrmDisplayList>(fs.root());
        backend = std::make_unique<SystemDisplayBrightnessBackend>(
            list, std::make_shared<LinuxBacklightService>(fs.root(), list, io, nullptr),
            std::make_shared<LinuxI2CTransport>(fs.root(), io), clock);
    }
    static std::uint32_t id(const char* connector) {
        return LinuxDrmDisplayList::identifierFor(connector, test::makeEdid(0x10AC, 0x4242, "Twin"));
    }
};

TEST(LinuxI2CTransportTest, DrivesTheMonitorOnTheDisplaysOwnBus) {
    DeviceRig rig;
    EXPECT_EQ(rig.backend->capability(DeviceRig::id("card0-DP-2")),
              (DisplayBrightnessCapability{true, DisplayBrightnessCapability::Backend::ddc}));
    ASSERT_TRUE(rig.backend->setBrightness(DeviceRig::id("card0-DP-2"), 0.8f).ok());
    EXPECT_EQ(rig.right->current(), 80);
    EXPECT_EQ(rig.left->current(), 10);
    EXPECT_EQ(rig.backend->brightness(DeviceRig::id("card0-DP-2")), DimwellResult<float>(0.8f));
    EXPECT_EQ(rig.right->rejectedRequests(), 0);
    EXPECT_EQ(rig.io->openCount(), 0);
}

TEST(LinuxI2CTransportTest, EveryFaultIsAFailureAndLeavesNoDescriptorOpen) {
    struct Case {
        const char* name;
        Faults faults;
        bool supported;
        bool readOk;
        bool writeOk;
    };
    const Case cases[] = {
        {"open refused", {true, false, false, false}, false, false, false},
        {"address refused", {false, true, false, false}, false, false, false},
        {"short write", {false, false, true, false}, true, false, false},
        {"short read", {false, false, false, true}, true, false, true},
    };
    for (const auto& c : cases) {
        DeviceRig rig(c.faults);
        const auto id = DeviceRig::id("card0-DP-2");
        EXPECT_EQ(rig.backend->capability(id).isSupported, c.supported) << c.name;
        EXPECT_EQ(rig.backend->brightness(id).ok(), c.readOk) << c.name;
        EXPECT_EQ(rig.backend->setBrightness(id, 0.3f).ok(), c.writeOk) << c.name;
        EXPECT_EQ(rig.io->openCount(), 0) << c.name;
        EXPECT_EQ(rig.left->current(), 10) << c.name;
    }
}

TEST(LinuxI2CTransportTest, ARegularFileIsNoI2CDevice) {
    test::FakeSysfs fs;
    fs.connector("card0-DP-1", true, true);
    fs.link("sys/devices/pci0000:00/drm/card0/card0-DP-1/ddc", "../../../i2c-3");
    fs.write("dev/i2c-3", "");
    LinuxI2CTransport transport(fs.root(), std::make_shared<SystemPosixFileIo>());
    const auto entries = transport.busEntries("card0-DP-1");
    ASSERT_EQ(entries.size(), 1u);
    const int before = test::openDescriptorCount();
    EXPECT_EQ(transport.open(entries[0]), nullptr);
    EXPECT_EQ(transport.open(DdcBusEntry{"i2c-4", "", std::nullopt}), nullptr); // no such device
    EXPECT_EQ(transport.open(DdcBusEntry{"../etc/passwd", "", std::nullopt}), nullptr);
    EXPECT_EQ(test::openDescriptorCount(), before);
}

} // namespace
} // namespace kivo

namespace kivo {
namespace {

TEST(LinuxI2CTransportTest, AnotherMonitorOnTheSameConnectorIsScaledByItsOwnMaximum) {
    test::FakeSysfs fs;
    auto io = std::make_shared<test::FakeI2CDevices>();
    auto clock = std::make_shared<SimulatedSleepClock>();
    const auto first = test::makeEdid(0x10AC, 0x4242, "Old");
    fs.connector("card0-DP-1", true, true, &first);
    fs.link("sys/devices/pci0000:00/drm/card0/card0-DP-1/ddc", "../../../i2c-5");
    auto oldMonitor = std::make_shared<SimulatedDdcMonitor>(10, 50, clock);
    io->addDevice((fs.root() / "dev/i2c-5").string(), oldMonitor);
    auto list = std::make_shared<LinuxDrmDisplayList>(fs.root());
    SystemDisplayBrightnessBackend backend(
        list, std::make_shared<LinuxBacklightService>(fs.root(), list, io, nullptr),
        std::make_shared<LinuxI2CTransport>(fs.root(), io), clock);
    const auto before = backend.connectedDisplays();
    ASSERT_EQ(before.size(), 1u);
    ASSERT_TRUE(backend.setBrightness(before[0].displayID, 0.5f).ok());
    EXPECT_EQ(oldMonitor->current(), 25);

    // The user plugs another monitor into the same port: its maximum is its own, not the old one's.
    const auto second = test::makeEdid(0x1E6D, 0x5B09, "New");
    fs.writeBytes("sys/devices/pci0000:00/drm/card0/card0-DP-1/edid", second);
    auto newMonitor = std::make_shared<SimulatedDdcMonitor>(10, 100, clock);
    io->addDevice((fs.root() / "dev/i2c-5").string(), newMonitor);
    clock->advance(std::chrono::seconds(1));
    const auto after = backend.connectedDisplays();
    ASSERT_EQ(after.size(), 1u);
    ASSERT_TRUE(backend.setBrightness(after[0].displayID, 0.5f).ok());
    EXPECT_EQ(newMonitor->appliedValues(), std::vector<std::uint16_t>{50});

    // The same monitor keeps its identifier from one listing to the next.
    EXPECT_EQ(backend.connectedDisplays()[0].displayID, after[0].displayID);
}

} // namespace
} // namespace kivo
