#include "FakeSysfs.h"

#include "brightness-library/SystemDisplayBrightnessBackend.h"
#include "platform/linux/LinuxDrmDisplayList.h"
#include "platform/simulated/SimulatedDisplays.h"
#include "platform/simulated/SimulatedI2CTransport.h"
#include "platform/simulated/SimulatedSleepClock.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

using Id = LinuxDrmDisplayList;

TEST(LinuxDrmDisplayListTest, ListsConnectedEnabledConnectorsWithTheirEdid) {
    test::FakeSysfs fs;
    const auto panel = test::makeEdid(0x0DAE, 0x1403, "Panel 14");
    const auto unnamed = test::makeEdid(0x10AC, 0x4242, "");
    const auto longName = test::makeEdid(0x1E6D, 0x5B09, "ABCDEFGHIJKLMNOP");
    const std::vector<std::uint8_t> shortEdid{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x10, 0xAC};
    auto badHeader = test::makeEdid(0x10AC, 0x4242, "Fake");
    badHeader[1] = 0x00;
    fs.connector("card0-eDP-1", true, true, &panel);
    fs.connector("card0-DP-1", true, true, &unnamed);
    fs.connector("card0-DP-2", false, false, &unnamed);  // nothing plugged in
    fs.connector("card0-HDMI-A-1", true, false, &panel); // plugged in but switched off
    fs.connector("card0-DP-3", true, true);              // no EDID file
    fs.connector("card1-DP-10", true, true, &shortEdid);
    fs.connector("card1-DP-9", true, true, &longName);
    fs.connector("card1-DP-11", true, true, &badHeader);
    fs.write("sys/class/drm/version", "drm 1.1.0\n");
    fs.link("sys/class/drm/card0", (fs.root() / "sys/devices/pci0000:00/drm/card0").string());

    LinuxDrmDisplayList list(fs.root());
    const auto displays = list.activeDisplays();
    ASSERT_TRUE(displays);
    const std::vector<ActiveDisplay> expected{
        {Id::identifierFor("card0-DP-1", unnamed), false, 0x10AC, 0x4242, std::nullopt, "card0-DP-1"},
        {Id::identifierFor("card0-DP-3"), false, 0, 0, std::nullopt, "card0-DP-3"},
        {Id::identifierFor("card0-eDP-1", panel), true, 0x0DAE, 0x1403, "Panel 14", "card0-eDP-1"},
        {Id::identifierFor("card1-DP-9", longName), false, 0x1E6D, 0x5B09, "ABCDEFGHIJKLM", "card1-DP-9"},
        {Id::identifierFor("card1-DP-10"), false, 0, 0, std::nullopt, "card1-DP-10"},
        {Id::identifierFor("card1-DP-11"), false, 0, 0, std::nullopt, "card1-DP-11"},
    };
    EXPECT_EQ(*displays, expected);
}

TEST(LinuxDrmDisplayListTest, IdentifiersAreStablePerConnectorAndDistinct) {
    const std::vector<std::string> connectors{"card0-DP-1", "card0-DP-2", "card1-DP-1", "card0-eDP-1"};
    std::vector<std::uint32_t> ids;
    for (const auto& c : connectors) {
        EXPECT_EQ(Id::identifierFor(c), Id::identifierFor(std::string(c)));
        EXPECT_NE(Id::identifierFor(c), 0u);
        ids.push_back(Id::identifierFor(c));
    }
    // The monitor on the connector is part of the identity; its serial number tells twins apart.
    auto twin = test::makeEdid(0x10AC, 0x4242, "Twin");
    ids.push_back(Id::identifierFor("card0-DP-1", twin));
    twin[12] ^= 0x01;
    ids.push_back(Id::identifierFor("card0-DP-1", twin));
    ids.push_back(Id::identifierFor("card0-DP-1", test::makeEdid(0x10AC, 0x4243, "Twin")));
    EXPECT_EQ(Id::identifierFor("card0-DP-1", twin), Id::identifierFor("card0-DP-1", twin));
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end());
    // Without a valid EDID the connector alone decides.
    EXPECT_EQ(Id::identifierFor("card0-DP-1", {0x00, 0xFF, 0xFF}), Id::identifierFor("card0-DP-1"));
}

TEST(LinuxDrmDisplayListTest, BuiltinConnectorTypes) {
    struct Case {
        const char* connector;
        bool builtin;
    };
    const Case cases[] = {{"card0-eDP-1", true},      {"card0-LVDS-1", true},    {"card2-DSI-1", true},
                          {"card0-DP-1", false},      {"card0-HDMI-A-1", false}, {"card0-VGA-1", false},
                          {"card0-Virtual-1", false}, {"eDP-1", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(Id::isBuiltinConnector(c.connector), c.builtin) << c.connector;
    }
}

TEST(LinuxDrmDisplayListTest, TheBackEndNamesUnnamedDisplaysAndSurvivesAMissingTree) {
    test::FakeSysfs fs;
    const auto unnamed = test::makeEdid(0x10AC, 0x4242, "");
    fs.connector("card0-DP-1", true, true, &unnamed);
    auto list = std::make_shared<LinuxDrmDisplayList>(fs.root());
    SystemDisplayBrightnessBackend backend(list, std::make_shared<SimulatedDisplays>(),
                                           std::make_shared<SimulatedI2CTransport>(),
                                           std::make_shared<SimulatedSleepClock>());
    const auto id = Id::identifierFor("card0-DP-1", unnamed);
    EXPECT_EQ(backend.connectedDisplays(),
              (std::vector<DisplayInfo>{{id, false, "Display " + std::to_string(id)}}));

    LinuxDrmDisplayList missing(fs.root() / "nowhere");
    EXPECT_FALSE(missing.activeDisplays());
}

} // namespace
} // namespace kivo
