#pragma once

namespace kivo {

class DefaultsStore;

// Where the onboarding marker lives.
struct OnboardingStore {
    static constexpr const char* kCompletedVersionKey = "kivo.onboardingCompletedVersion";

    DefaultsStore* defaults = nullptr;
};

} // namespace kivo
