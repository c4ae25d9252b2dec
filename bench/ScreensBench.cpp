// How long the rule screens take to build with a large rule set, and what one keystroke in the pattern
// sheet costs. Runs on the offscreen platform.
#include "app/brightness/BrightnessController.h"
#include "app/brightness/BrightnessTriggerStore.h"
#include "app/language/LanguageController.h"
#include "app/more/LoginItemService.h"
#include "app/rules/BlockRuleStore.h"
#include "app/shield/ShieldOverlayController.h"
#include "core/ManualClock.h"
#include "platform/simulated/SimulatedLoginItem.h"
#include "platform/simulated/SimulatedShieldWindowSystem.h"
#include "platform/simulated/SimulatedSystemEvents.h"
#include "settings/MemoryDefaultsStore.h"
#include "ui/rules/PatternEditSheet.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/rules/RulesPage.h"
#include "ui/screens/ScreenContext.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>
#include <string>

namespace kivo {
namespace {

// A back end with no displays: the bench measures the screens, not brightness.
class NoDisplays final : public DisplayBrightnessBackend {
public:
    std::vector<DisplayInfo> connectedDisplays() override { return {}; }
    DisplayBrightnessCapability capability(std::uint32_t) override { return {}; }
    DimwellResult<float> brightness(std::uint32_t id) override { return DimwellError::notSupported(id); }
    DimwellResult<void> setBrightness(std::uint32_t id, float) override {
        return DimwellError::notSupported(id);
    }
};

struct BenchRig {
    ManualClock clock;
    MemoryDefaultsStore defaults;
    BlockRuleStore rules{defaults, "Blocklist", clock};
    SimulatedShieldWindowSystem windows;
    ShieldOverlayController shield{windows, clock, clock};
    SimulatedSystemEvents events;
    BrightnessTriggerStore triggers{defaults, "Sunrise", "Sunset"};
    BrightnessController brightness{std::make_shared<NoDisplays>(), clock, clock, events, events};
    SimulatedLoginItem loginPort;
    LoginItemService loginItem{loginPort};
    LanguageController language{LanguagePreferenceStore(defaults), QStringList{QStringLiteral("en")}};
    Localizer localizer;
    ScreenContext context{rules, shield, triggers, brightness, loginItem, language, localizer};

    BenchRig() {
        std::vector<BlockRuleGroup> groups;
        for (int g = 0; g < 200; ++g) {
            std::vector<BlockRule> list;
            for (int r = 0; r < 50; ++r) {
                list.push_back(BlockRule{Uuid::random(), "*site" + std::to_string(r) + ".example/path/*",
                                         r % 3 != 0, r % 5 == 0 ? RuleAction::allow : RuleAction::block,
                                         std::nullopt, std::nullopt});
            }
            groups.push_back(BlockRuleGroup{Uuid::random(), "Group " + std::to_string(g), g % 2 == 0,
                                            std::move(list), false, BlockSchedule::always(),
                                            UnlockPolicy::waitToUnlock(10), std::nullopt, std::nullopt});
        }
        rules.setGroups(std::move(groups));
    }
};

BenchRig& rig() {
    static BenchRig instance;
    return instance;
}

void BM_RuleGroupListBuild(benchmark::State& state) {
    for (auto _ : state) {
        RulesPage page(rig().context);
        page.resize(660, 460);
        page.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(&page);
    }
}
BENCHMARK(BM_RuleGroupListBuild)->Unit(benchmark::kMillisecond);

void BM_RuleGroupDetailBuild(benchmark::State& state) {
    const Uuid id = rig().rules.groups()[100].id;
    for (auto _ : state) {
        RuleDetailPage page(rig().context, id);
        page.resize(660, 460);
        page.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(&page);
    }
}
BENCHMARK(BM_RuleGroupDetailBuild)->Unit(benchmark::kMillisecond);

void BM_PatternSheetKeystroke(benchmark::State& state) {
    PatternEditSheet sheet(rig().context,
                           PatternEditPresenter::adding(rig().rules.groups()[0].id, RuleAction::block));
    sheet.show();
    const QString typed =
        QStringLiteral("HTTPS://www.Some-Long-Domain.example/path/to/a/page?query=1#fragment/");
    int length = 1;
    for (auto _ : state) {
        sheet.typePattern(typed.left(length));
        length = length % static_cast<int>(typed.size()) + 1;
    }
}
BENCHMARK(BM_PatternSheetKeystroke)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace kivo

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kivo::rig(); // the rule set is made once, outside the timed loops
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
