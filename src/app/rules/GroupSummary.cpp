#include "app/rules/GroupSummary.h"

#include "app/language/LocalizedStrings.h"
#include "app/language/Localizer.h"
#include "app/rules/DayOfWeekSelection.h"
#include "domain/DayOfWeekGroups.h"
#include "domain/RecurringSchedule.h"

#include <QStringList>

namespace kivo::GroupSummary {
namespace {

QString clock(std::int64_t minute) {
    return QString::asprintf("%d:%02d", static_cast<int>(minute / 60), static_cast<int>(minute % 60));
}

} // namespace

QString text(const BlockRuleGroup& group, const Localizer& localizer, LanguagePreference language) {
    QStringList parts{scheduleSummary(group.schedule, localizer, language),
                      unlockSummary(group.unlockPolicy, localizer, language)};
    if (group.redirectURL) {
        parts << localizer.text(Strings::RuleDetail::Summary::redirect(), language);
    }
    return parts.join(QStringLiteral(" \u00B7 "));
}

QString scheduleSummary(const BlockSchedule& schedule, const Localizer& localizer,
                        LanguagePreference language) {
    const auto* recurring = schedule.recurringSchedule();
    if (recurring == nullptr || recurring->isAllDayEveryDay()) {
        return localizer.text(Strings::Schedule::Summary::always(), language);
    }
    QString result = daySummary(recurring->daysOfWeek, localizer, language);
    const QString windows = timeWindowSummary(recurring->timeWindows, localizer, language);
    if (!windows.isEmpty()) {
        result += QLatin1Char(' ') + windows;
    }
    return result;
}

QString daySummary(const DaySet& days, const Localizer& localizer, LanguagePreference language) {
    namespace S = Strings::Schedule::Summary;
    if (days.empty()) {
        return localizer.text(S::none(), language);
    }
    if (days == DayOfWeekGroups::allDays()) {
        return localizer.text(S::daily(), language);
    }
    if (days == DayOfWeekGroups::weekdays()) {
        return localizer.text(S::weekdays(), language);
    }
    if (days == DayOfWeekGroups::weekend()) {
        return localizer.text(S::weekends(), language);
    }
    QStringList names;
    for (const DayOfWeek day : days) { // a set of days iterates Sunday first
        names << localizer.text(DayOfWeekSelection::shortName(day), language);
    }
    return names.join(QLatin1Char(','));
}

QString timeWindowSummary(const std::vector<TimeWindow>& windows, const Localizer& localizer,
                          LanguagePreference language) {
    if (windows.empty()) {
        return QString();
    }
    QString result = clock(windows.front().startMinute) + QLatin1Char('-') + clock(windows.front().endMinute);
    if (windows.size() >= 2) {
        result += QLatin1Char(' ') + localizer.text(Strings::RuleDetail::Summary::timeWindowMore(), language);
    }
    return result;
}

QString unlockSummary(const UnlockPolicy& policy, const Localizer& localizer, LanguagePreference language) {
    if (const auto* wait = policy.asWaitToUnlock()) {
        return localizer.text(Strings::Unlock::Summary::wait(wait->seconds), language);
    }
    if (const auto* backoff = policy.asWaitWithBackoff()) {
        return localizer.text(Strings::Unlock::Summary::backoff(backoff->baseSeconds), language);
    }
    return localizer.text(Strings::Unlock::Summary::instant(), language);
}

} // namespace kivo::GroupSummary
