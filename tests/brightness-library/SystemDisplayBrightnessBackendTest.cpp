#include "BrightnessRig.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

using Backend = DisplayBrightnessCapability::Backend;
using Call = SimulatedDisplays::ServiceCall;

TEST(SystemDisplayBrightnessBackendTest, ErrorTextsNameTheDisplay) {
    struct Case {
        DimwellError error;
        const char* text;
    };
    const Case cases[] = {
        {DimwellError::notSupported(3), "Display 3 is not supported for brightness control"},
        {DimwellError::readFailed(4294967295u), "Failed to read brightness for display 4294967295"},
        {DimwellError::writeFailed(7), "Failed to write brightness for display 7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.error.description(), c.text);
    }
    EXPECT_NE(DimwellError::readFailed(1), DimwellError::readFailed(2));
    EXPECT_NE(DimwellError::readFailed(1), DimwellError::writeFailed(1));
}

TEST(SystemDisplayBrightnessBackendTest, ChoosesOneTransportPerDisplayAndNeverFallsBack) {
    struct Case {
        const char* name;
        bool builtin;
        bool serviceAccepts;
        bool serviceWorks;
        bool hasDdc;
        DisplayBrightnessCapability capability;
        DimwellResult<void> set;
        bool ddcTraffic;
    };
    const DimwellResult<void> ok;
    const Case cases[] = {
        {"built-in", true, false, true, true, {true, Backend::displayServices}, ok, false},
        {"built-in, service missing",
         true,
         false,
         false,
         true,
         {true, Backend::displayServices},
         DimwellError::writeFailed(1),
         false},
        {"external the service takes", false, true, true, true, {true, Backend::displayServices}, ok, false},
        {"external the service takes, failing",
         false,
         true,
         false,
         true,
         {true, Backend::displayServices},
         DimwellError::writeFailed(1),
         false},
        {"external over DDC", false, false, true, true, {true, Backend::ddc}, ok, true},
        {"external without either",
         false,
         false,
         true,
         false,
         {false, Backend::unsupported},
         DimwellError::notSupported(1),
         false},
    };
    for (const auto& c : cases) {
        test::BrightnessRig rig;
        SimulatedDisplays::Display display{ActiveDisplay{1, c.builtin, 1, 1, "One", "DP-1"}};
        display.serviceAccepts = c.serviceAccepts;
        display.writeFails = !c.serviceWorks;
        display.readFails = !c.serviceWorks;
        rig.displays->add(display);
        auto monitor = std::make_shared<SimulatedDdcMonitor>(10, 100, rig.clock);
        if (c.hasDdc) {
            rig.transport->addChannel("DP-1", DdcBusEntry{"i2c-1", "DP", std::nullopt}, monitor);
        }
        EXPECT_EQ(rig.backend.capability(1), c.capability) << c.name;
        EXPECT_EQ(rig.backend.setBrightness(1, 0.6f), c.set) << c.name;
        if (!c.set.ok() && c.set.error().kind() == DimwellError::Kind::notSupported) {
            EXPECT_EQ(rig.backend.brightness(1), DimwellResult<float>(DimwellError::notSupported(1)));
        }
        EXPECT_EQ(!monitor->messages().empty(), c.ddcTraffic) << c.name;
        if (c.builtin) {
            EXPECT_TRUE(rig.transport->opened().empty()) << c.name;
        }
    }
}

TEST(SystemDisplayBrightnessBackendTest, TheServicePathClampsAndAnnouncesTheLevel) {
    struct Case {
        float level;
        float written;
    };
    for (const auto& c : {Case{1.7f, 1.0f}, Case{-0.2f, 0.0f}, Case{0.3f, 0.3f}}) {
        test::BrightnessRig rig;
        rig.addBuiltin(2, "Panel");
        ASSERT_TRUE(rig.backend.setBrightness(2, c.level).ok());
        EXPECT_EQ(rig.displays->calls(), (std::vector<Call>{{Call::Kind::write, 2, c.written},
                                                            {Call::Kind::changed, 2, c.written}}));
    }
}

TEST(SystemDisplayBrightnessBackendTest, ReadsThroughTheChosenTransport) {
    test::BrightnessRig rig;
    rig.addBuiltin(2, "Panel");
    rig.addDdcDisplay(3, "Studio", 30, 60);
    EXPECT_EQ(rig.backend.brightness(2), DimwellResult<float>(0.5f));
    EXPECT_EQ(rig.backend.brightness(3), DimwellResult<float>(0.5f));
    rig.displays->display(2).readFails = true;
    EXPECT_EQ(rig.backend.brightness(2), DimwellResult<float>(DimwellError::readFailed(2)));
}

TEST(SystemDisplayBrightnessBackendTest, ListsDisplaysInOrderWithAFallbackName) {
    test::BrightnessRig rig;
    rig.addBuiltin(2, "Panel");
    rig.displays->add({ActiveDisplay{7, false, 0, 0, std::nullopt, "HDMI-A-1"}});
    EXPECT_EQ(rig.backend.connectedDisplays(),
              (std::vector<DisplayInfo>{{2, true, "Panel"}, {7, false, "Display 7"}}));

    rig.displays->setListFails(true);
    EXPECT_TRUE(rig.backend.connectedDisplays().empty());
    rig.displays->setListFails(false);

    for (std::uint32_t id = 100; id < 120; ++id) {
        rig.displays->add({ActiveDisplay{id, false, 0, 0, "X", "DP-" + std::to_string(id)}});
    }
    const auto list = rig.backend.connectedDisplays();
    ASSERT_EQ(list.size(), 16u);
    EXPECT_EQ(list.back().displayID, 113u);
}

TEST(SystemDisplayBrightnessBackendTest, DiagnosticsGatherWhatEachTransportSays) {
    test::BrightnessRig rig;
    rig.addBuiltin(2, "Panel");
    rig.addDdcDisplay(3, "Studio", 250, 200);
    const auto builtin = rig.backend.diagnostics(2);
    EXPECT_EQ(builtin, (DisplayDiagnostics{2, true, true, 0x0DAE, 1, 0.5f, std::nullopt, std::nullopt}));
    const auto external = rig.backend.diagnostics(3);
    EXPECT_EQ(external, (DisplayDiagnostics{3, false, false, 0x10AC, 0x4242, 0.5f, 1.0f, 200}));

    // A monitor that reports maximum 0: the level is taken against 100, the 0 is shown, nothing is cached.
    auto zero = rig.addDdcDisplay(4, "Odd", 40, 0);
    EXPECT_EQ(rig.backend.diagnostics(4),
              (DisplayDiagnostics{4, false, false, 0x10AC, 0x4242, 0.5f, 0.4f, 0}));
    zero->clearLog();
    ASSERT_TRUE(rig.backend.setBrightness(4, 0.5f).ok());
    EXPECT_EQ(zero->messages().size(), 3u);
    EXPECT_EQ(zero->appliedValues(), std::vector<std::uint16_t>{50});
}

} // namespace
} // namespace kivo
