#pragma once

#include "app/language/LocalizedString.h"
#include "domain/ResetInterval.h"
#include "domain/UnlockPolicy.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kivo {

// The unlock section of the group sheet: the kind of policy, the fixed wait and the backoff's reset
// interval. Filled once from the sheet's policy; every change the user makes returns the whole policy.
class UnlockPolicyEditorModel {
public:
    enum class PolicyType { instant, wait, backoff };
    enum class ResetIntervalChoice { hours6, hours12, day1, days3, week1, never };

    static constexpr std::array<std::int64_t, 8> waitSecondsChoices{5, 10, 15, 20, 30, 40, 50, 60};
    static constexpr std::array<ResetIntervalChoice, 6> resetIntervalChoices{
        ResetIntervalChoice::hours6, ResetIntervalChoice::hours12, ResetIntervalChoice::day1,
        ResetIntervalChoice::days3,  ResetIntervalChoice::week1,   ResetIntervalChoice::never};
    // Every backoff policy written here starts from this base, whatever the incoming one had.
    static constexpr std::int64_t backoffBaseSeconds = 5;

    explicit UnlockPolicyEditorModel(const UnlockPolicy& policy);

    PolicyType selectedType() const { return selectedType_; }
    // A stored wait that is not one of the choices stays until the user picks one.
    std::int64_t waitSeconds() const { return waitSeconds_; }
    ResetIntervalChoice resetInterval() const { return resetInterval_; }

    UnlockPolicy policy() const;
    // Each returns the new whole policy, or nothing when the choice is the one already made: re-clicking
    // the chosen kind must not rewrite a stored backoff base with this editor's own.
    std::optional<UnlockPolicy> setSelectedType(PolicyType type);
    std::optional<UnlockPolicy> setWaitSeconds(std::int64_t seconds);
    std::optional<UnlockPolicy> setResetInterval(ResetIntervalChoice choice);

    static ResetInterval interval(ResetIntervalChoice choice);
    static const LocalizedString& label(ResetIntervalChoice choice);

private:
    PolicyType selectedType_ = PolicyType::instant;
    std::int64_t waitSeconds_ = 10;
    ResetIntervalChoice resetInterval_ = ResetIntervalChoice::day1;
};

} // namespace kivo
