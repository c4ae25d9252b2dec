#include "BrightnessRig.h"
#include "brightness-library/DDCPacket.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kivo {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Message = SimulatedDdcMonitor::Message;
using Behaviour = SimulatedDdcMonitor::Behaviour;

const Bytes kGetBrightness{0x51, 0x82, 0x01, 0x10, 0xAC};

Bytes setBrightnessMessage(std::uint16_t value) {
    const auto packet = DDCPacket::setRequest(0x10, value);
    Bytes bytes{0x51};
    bytes.insert(bytes.end(), packet.begin(), packet.end());
    return bytes;
}

TEST(DDCBrightnessTest, ReadsLevelsAndCachesOnlyAValidNonZeroMaximum) {
    struct Case {
        const char* name;
        Behaviour behaviour;
        std::uint16_t current, maximum;
        std::optional<float> level;
        bool cached; // a following set then costs a single write
    };
    const Case cases[] = {
        {"plain", Behaviour::answers, 40, 80, 0.5f, true},
        {"maximum 0 counts as 100", Behaviour::answers, 40, 0, 0.4f, false},
        {"current above maximum is capped", Behaviour::answers, 250, 200, 1.0f, true},
        {"no answer", Behaviour::noAnswer, 40, 80, std::nullopt, false},
        {"unsupported", Behaviour::unsupported, 40, 80, std::nullopt, false},
        {"garbage", Behaviour::garbage, 40, 80, std::nullopt, false},
        {"wrong checksum", Behaviour::wrongChecksum, 40, 80, std::nullopt, false},
    };
    for (const auto& c : cases) {
        test::BrightnessRig rig;
        auto monitor = rig.addDdcDisplay(5, "Studio", c.current, c.maximum);
        monitor->setBehaviour(c.behaviour);
        const auto level = rig.backend.brightness(5);
        if (c.level) {
            ASSERT_TRUE(level.ok()) << c.name;
            EXPECT_FLOAT_EQ(level.value(), *c.level) << c.name;
        } else {
            EXPECT_EQ(level, DimwellResult<float>(DimwellError::readFailed(5))) << c.name;
        }
        monitor->setBehaviour(Behaviour::answers);
        monitor->clearLog();
        EXPECT_TRUE(rig.backend.setBrightness(5, 0.5f).ok()) << c.name;
        EXPECT_EQ(monitor->messages().size(), c.cached ? 1u : 3u) << c.name;
    }
}

TEST(DDCBrightnessTest, ScalesLevelsByTheMaximumRoundingHalvesAway) {
    struct Case {
        std::uint16_t maximum;
        Behaviour behaviour;
        float level;
        std::uint16_t written;
    };
    const Case cases[] = {
        {10, Behaviour::answers, 0.25f, 3},         {10, Behaviour::answers, 0.24f, 2},
        {10, Behaviour::answers, 0.35f, 4},         {300, Behaviour::answers, 1.0f, 300},
        {100, Behaviour::noAnswer, 0.5f, 50},       {100, Behaviour::garbage, 0.5f, 50},
        {400, Behaviour::wrongChecksum, 1.0f, 100}, // a bogus reply must not scale the set
        {10, Behaviour::answers, 1.7f, 10},         {10, Behaviour::answers, -0.2f, 0},
    };
    for (const auto& c : cases) {
        test::BrightnessRig rig;
        auto monitor = rig.addDdcDisplay(3, "Studio", 1, c.maximum);
        monitor->setBehaviour(c.behaviour);
        EXPECT_TRUE(rig.backend.setBrightness(3, c.level).ok());
        // A bad read leaves the monitor ignorant of the request, yet the set still goes out.
        EXPECT_EQ(monitor->appliedValues(), std::vector<std::uint16_t>{c.written})
            << c.maximum << " " << c.level;
    }
}

TEST(DDCBrightnessTest, AnUncachedSetReadsTheMaximumFirstThenSetsAreSingleWrites) {
    test::BrightnessRig rig;
    auto monitor = rig.addDdcDisplay(4, "Studio", 10, 100);

    ASSERT_TRUE(rig.backend.setBrightness(4, 0.5f).ok());
    EXPECT_EQ(monitor->messages(), (std::vector<Message>{{Message::Kind::write, kGetBrightness},
                                                         {Message::Kind::read, {}},
                                                         {Message::Kind::write, setBrightnessMessage(50)}}));
    // The reply wait, then the gap that keeps the Set from following the read too closely.
    EXPECT_EQ(rig.clock->sleeps(), (std::vector<std::chrono::microseconds>{50ms, 50ms}));

    monitor->clearLog();
    rig.clock->clearSleeps();
    rig.clock->advance(1s);
    ASSERT_TRUE(rig.backend.setBrightness(4, 0.7f).ok());
    EXPECT_EQ(monitor->messages(), (std::vector<Message>{{Message::Kind::write, setBrightnessMessage(70)}}));
    EXPECT_TRUE(rig.clock->sleeps().empty());
    EXPECT_EQ(monitor->current(), 70);
}

TEST(DDCBrightnessTest, BackToBackSetsOnOneBusAreSpacedSoTheMonitorKeepsThem) {
    test::BrightnessRig rig;
    auto monitor = rig.addDdcDisplay(4, "Studio", 10, 100);
    ASSERT_TRUE(rig.backend.brightness(4).ok());
    rig.clock->clearSleeps();
    for (float level : {0.1f, 0.2f, 0.3f}) {
        ASSERT_TRUE(rig.backend.setBrightness(4, level).ok());
    }
    EXPECT_EQ(monitor->appliedValues(), (std::vector<std::uint16_t>{10, 20, 30}));
    EXPECT_EQ(monitor->droppedForPacing(), 0);
    EXPECT_EQ(rig.clock->sleeps(), (std::vector<std::chrono::microseconds>{50ms, 50ms, 50ms}));
}

TEST(DDCBrightnessTest, EachBusIsPacedOnItsOwn) {
    test::BrightnessRig rig;
    auto first = rig.addDdcDisplay(1, "Left", 10, 100);
    auto second = rig.addDdcDisplay(2, "Right", 10, 100);
    ASSERT_TRUE(rig.backend.brightness(1).ok());
    rig.clock->clearSleeps();
    // The other bus has been idle: its exchange starts at once with no gap to wait for.
    ASSERT_TRUE(rig.backend.brightness(2).ok());
    EXPECT_EQ(rig.clock->sleeps(), (std::vector<std::chrono::microseconds>{50ms}));
    EXPECT_EQ(first->droppedForPacing() + second->droppedForPacing(), 0);
}

TEST(DDCBrightnessTest, ChoosesAChannelOfTheDisplaysOwnConnector) {
    const Bytes matchingEdid{0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x10, 0xAC, 0x42, 0x42};
    const Bytes otherModel{0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x10, 0xAC, 0x43, 0x42};
    const Bytes otherVendor{0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x10, 0xAD, 0x42, 0x42};
    const Bytes noHeader{1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x10, 0xAD, 0x43, 0x42};
    struct Entry {
        std::string location;
        std::optional<Bytes> edid;
    };
    struct Case {
        const char* name;
        std::vector<Entry> entries;
        std::optional<std::size_t> chosen; // index of the entry that must carry the traffic
    };
    const Case cases[] = {
        {"no EDID is accepted", {{"DP", std::nullopt}}, 0},
        {"a short EDID is accepted", {{"", Bytes{1, 2, 3}}}, 0},
        {"an EDID without its header is accepted", {{"DP", noHeader}}, 0},
        {"an all-zero EDID is accepted", {{"DP", Bytes(128, 0)}}, 0},
        {"matching EDID", {{"DP", matchingEdid}}, 0},
        {"embedded skipped", {{"Embedded", std::nullopt}, {"DP", std::nullopt}}, 1},
        {"internal in any case skipped", {{"port-INTERNAL-0", std::nullopt}, {"DP", matchingEdid}}, 1},
        {"other model skipped", {{"DP", otherModel}, {"DP", matchingEdid}}, 1},
        {"other vendor skipped", {{"DP", otherVendor}}, std::nullopt},
        {"only internal", {{"internal", std::nullopt}}, std::nullopt},
    };
    for (const auto& c : cases) {
        test::BrightnessRig rig;
        rig.displays->add({ActiveDisplay{9, false, 0x10AC, 0x4242, "Studio", "DP-9"}});
        std::vector<std::shared_ptr<SimulatedDdcMonitor>> monitors;
        for (std::size_t i = 0; i < c.entries.size(); ++i) {
            monitors.push_back(std::make_shared<SimulatedDdcMonitor>(10, 100, rig.clock));
            rig.transport->addChannel(
                "DP-9", DdcBusEntry{"i2c-" + std::to_string(i), c.entries[i].location, c.entries[i].edid},
                monitors.back());
        }
        const auto result = rig.backend.setBrightness(9, 0.3f);
        if (!c.chosen) {
            EXPECT_EQ(result, DimwellResult<void>(DimwellError::notSupported(9))) << c.name;
        } else {
            EXPECT_TRUE(result.ok()) << c.name;
        }
        for (std::size_t i = 0; i < monitors.size(); ++i) {
            const bool expected = c.chosen == i;
            EXPECT_EQ(monitors[i]->current() == 30, expected) << c.name << " entry " << i;
        }
        EXPECT_EQ(rig.transport->openChannels(), 0) << c.name;
    }
}

TEST(DDCBrightnessTest, TwoIdenticalMonitorsAnswerOnlyForThemselves) {
    test::BrightnessRig rig;
    auto left = rig.addDdcDisplay(1, "Twin", 10, 100);
    auto right = rig.addDdcDisplay(2, "Twin", 10, 100);
    ASSERT_TRUE(rig.backend.setBrightness(2, 0.8f).ok());
    EXPECT_EQ(right->current(), 80);
    EXPECT_EQ(left->current(), 10);
    EXPECT_TRUE(left->messages().empty());
}

TEST(DDCBrightnessTest, AChannelThatWillNotOpenIsPassedOver) {
    test::BrightnessRig rig;
    rig.displays->add({ActiveDisplay{9, false, 1, 1, "Studio", "DP-9"}});
    auto dead = std::make_shared<SimulatedDdcMonitor>(10, 100, rig.clock);
    auto live = std::make_shared<SimulatedDdcMonitor>(10, 100, rig.clock);
    rig.transport->addChannel("DP-9", DdcBusEntry{"i2c-1", "DP", std::nullopt}, dead);
    rig.transport->addChannel("DP-9", DdcBusEntry{"i2c-2", "DP", std::nullopt}, live);
    rig.transport->setOpenFails("i2c-1", true);
    ASSERT_TRUE(rig.backend.setBrightness(9, 0.4f).ok());
    EXPECT_EQ(live->current(), 40);
    EXPECT_TRUE(dead->messages().empty());
}

TEST(DDCBrightnessTest, RequestsThatFailOnTheWireBecomeErrors) {
    test::BrightnessRig rig;
    rig.displays->add({ActiveDisplay{9, false, 1, 1, "Studio", "DP-9"}});
    // A channel that opens but where no monitor acknowledges anything.
    rig.transport->addChannel("DP-9", DdcBusEntry{"i2c-1", "DP", std::nullopt}, nullptr);
    EXPECT_EQ(rig.backend.capability(9),
              (DisplayBrightnessCapability{true, DisplayBrightnessCapability::Backend::ddc}));
    EXPECT_EQ(rig.backend.brightness(9), DimwellResult<float>(DimwellError::readFailed(9)));
    EXPECT_EQ(rig.backend.setBrightness(9, 0.4f), DimwellResult<void>(DimwellError::writeFailed(9)));
}

TEST(DDCBrightnessTest, LevelsThatAreNotNumbersAreRefusedWithoutTraffic) {
    for (float level : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity()}) {
        test::BrightnessRig rig;
        auto monitor = rig.addDdcDisplay(6, "Studio");
        rig.addBuiltin(7, "Panel");
        EXPECT_EQ(rig.backend.setBrightness(6, level), DimwellResult<void>(DimwellError::writeFailed(6)));
        EXPECT_EQ(rig.backend.setBrightness(7, level), DimwellResult<void>(DimwellError::writeFailed(7)));
        EXPECT_TRUE(monitor->messages().empty());
        EXPECT_EQ(rig.displays->level(7), 0.5f);
    }
}

} // namespace
} // namespace kivo
