#include "app/rules/UnlockPolicyEditorModel.h"

#include "app/language/LocalizedStrings.h"

namespace kivo {
namespace {

UnlockPolicyEditorModel::ResetIntervalChoice choiceFor(const ResetInterval& interval) {
    using Choice = UnlockPolicyEditorModel::ResetIntervalChoice;
    if (interval.isNever()) {
        return Choice::never;
    }
    switch (*interval.hourCount()) {
    case 6:
        return Choice::hours6;
    case 12:
        return Choice::hours12;
    case 72:
        return Choice::days3;
    case 168:
        return Choice::week1;
    default:
        return Choice::day1;
    }
}

} // namespace

UnlockPolicyEditorModel::UnlockPolicyEditorModel(const UnlockPolicy& policy) {
    if (const auto* wait = policy.asWaitToUnlock()) {
        selectedType_ = PolicyType::wait;
        waitSeconds_ = wait->seconds;
    } else if (const auto* backoff = policy.asWaitWithBackoff()) {
        selectedType_ = PolicyType::backoff;
        resetInterval_ = choiceFor(backoff->resetInterval);
    }
}

UnlockPolicy UnlockPolicyEditorModel::policy() const {
    switch (selectedType_) {
    case PolicyType::instant:
        return UnlockPolicy::instant();
    case PolicyType::wait:
        return UnlockPolicy::waitToUnlock(waitSeconds_);
    case PolicyType::backoff:
        break;
    }
    return UnlockPolicy::waitWithBackoff(backoffBaseSeconds, interval(resetInterval_));
}

std::optional<UnlockPolicy> UnlockPolicyEditorModel::setSelectedType(PolicyType type) {
    if (type == selectedType_) {
        return std::nullopt;
    }
    selectedType_ = type;
    return policy();
}

std::optional<UnlockPolicy> UnlockPolicyEditorModel::setWaitSeconds(std::int64_t seconds) {
    if (seconds == waitSeconds_) {
        return std::nullopt;
    }
    waitSeconds_ = seconds;
    return policy();
}

std::optional<UnlockPolicy> UnlockPolicyEditorModel::setResetInterval(ResetIntervalChoice choice) {
    if (choice == resetInterval_) {
        return std::nullopt;
    }
    resetInterval_ = choice;
    return policy();
}

ResetInterval UnlockPolicyEditorModel::interval(ResetIntervalChoice choice) {
    switch (choice) {
    case ResetIntervalChoice::hours6:
        return ResetInterval::hours(6);
    case ResetIntervalChoice::hours12:
        return ResetInterval::hours(12);
    case ResetIntervalChoice::day1:
        return ResetInterval::hours(24);
    case ResetIntervalChoice::days3:
        return ResetInterval::hours(72);
    case ResetIntervalChoice::week1:
        return ResetInterval::hours(168);
    case ResetIntervalChoice::never:
        break;
    }
    return ResetInterval::never();
}

const LocalizedString& UnlockPolicyEditorModel::label(ResetIntervalChoice choice) {
    namespace R = Strings::Unlock::ResetInterval;
    switch (choice) {
    case ResetIntervalChoice::hours6:
        return R::hours6();
    case ResetIntervalChoice::hours12:
        return R::hours12();
    case ResetIntervalChoice::day1:
        return R::day1();
    case ResetIntervalChoice::days3:
        return R::days3();
    case ResetIntervalChoice::week1:
        return R::week1();
    case ResetIntervalChoice::never:
        break;
    }
    return R::never();
}

} // namespace kivo
