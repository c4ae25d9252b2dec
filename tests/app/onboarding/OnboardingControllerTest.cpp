#include "app/onboarding/OnboardingController.h"
#include "settings/MemoryDefaultsStore.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

constexpr const char* kKey = "kivo.onboardingCompletedVersion";

struct MarkerCase {
    const char* name;
    nlohmann::json stored; // null: absent
    bool completed;
};

class OnboardingMarker : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(OnboardingMarker, completedMeansAnIntegerAboveZero) {
    MemoryDefaultsStore defaults;
    if (!GetParam().stored.is_null()) {
        defaults.plant(kKey, GetParam().stored);
    }
    OnboardingController controller(OnboardingStore{&defaults});
    EXPECT_EQ(controller.isCompleted(), GetParam().completed);
    EXPECT_EQ(defaults.writeCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, OnboardingMarker,
                         ::testing::Values(MarkerCase{"absent", nullptr, false}, MarkerCase{"zero", 0, false},
                                           MarkerCase{"negative", -3, false}, MarkerCase{"one", 1, true},
                                           MarkerCase{"later", 7, true}, MarkerCase{"text", "1", false},
                                           MarkerCase{"flag", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OnboardingController, completingStoresOneAndNotifiesOnlyOnChange) {
    MemoryDefaultsStore defaults;
    defaults.plant(kKey, -1);
    OnboardingController controller(OnboardingStore{&defaults});
    int changes = 0;
    QObject::connect(&controller, &OnboardingController::isCompletedChanged, [&changes] { ++changes; });

    controller.completeOnboarding();
    EXPECT_TRUE(controller.isCompleted());
    EXPECT_EQ(defaults.integerValue(kKey).valueOr(0), 1);
    controller.completeOnboarding();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(defaults.integerValue(kKey).valueOr(0), 1);

    OnboardingController nextStart(OnboardingStore{&defaults});
    EXPECT_TRUE(nextStart.isCompleted());
}

TEST(OnboardingController, resetRemovesTheMarkerAndNotifiesOnlyWhenItWasDone) {
    MemoryDefaultsStore defaults;
    defaults.plant(kKey, 1);
    OnboardingController controller(OnboardingStore{&defaults});
    int changes = 0;
    QObject::connect(&controller, &OnboardingController::isCompletedChanged, [&changes] { ++changes; });

    controller.reset();
    EXPECT_FALSE(controller.isCompleted());
    EXPECT_FALSE(defaults.contains(kKey));
    EXPECT_EQ(changes, 1);

    defaults.plant(kKey, 0);
    controller.reset();
    EXPECT_FALSE(defaults.contains(kKey));
    EXPECT_EQ(changes, 1);
}

TEST(OnboardingController, settingTheFlagNotifiesOnlyOnChange) {
    MemoryDefaultsStore defaults;
    OnboardingController controller(OnboardingStore{&defaults});
    int changes = 0;
    QObject::connect(&controller, &OnboardingController::isCompletedChanged, [&changes] { ++changes; });
    controller.setIsCompleted(false);
    controller.setIsCompleted(true);
    controller.setIsCompleted(true);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(defaults.writeCount(), 0) << "the flag alone stores nothing";
}

} // namespace
} // namespace kivo
