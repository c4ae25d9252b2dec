#pragma once

#include "domain/BlockRuleGroup.h"
#include "domain/LanguagePreference.h"

#include <QString>

namespace kivo {

class Localizer;

// The one-line summary under a group's name on its detail page: when it is active, how it unlocks and
// whether it has its own redirect target, in the given language.
namespace GroupSummary {

QString text(const BlockRuleGroup& group, const Localizer& localizer, LanguagePreference language);
QString scheduleSummary(const BlockSchedule& schedule, const Localizer& localizer,
                        LanguagePreference language);
QString daySummary(const DaySet& days, const Localizer& localizer, LanguagePreference language);
// "9:00-17:00" of the first window, with a note when there are more; empty without windows.
QString timeWindowSummary(const std::vector<TimeWindow>& windows, const Localizer& localizer,
                          LanguagePreference language);
QString unlockSummary(const UnlockPolicy& policy, const Localizer& localizer, LanguagePreference language);

} // namespace GroupSummary
} // namespace kivo
