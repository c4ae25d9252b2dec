#pragma once

#include "app/language/LocalizedString.h"

#include <QString>
#include <QtGlobal>

#include <string_view>
#include <vector>

// The table of every user-visible text key. A key "a.b.c" is the function Strings::A::B::c(); static keys
// return a value made once on first use, formatted keys bind their argument to a new value.

// "common.continue" and "common.delete" are continue_() and delete_(): the plain names are C++ keywords.
// clang-format off
#define KIVO_STATIC_STRING_KEYS(X) \
    X(Common, add, "common.add") \
    X(Common, cancel, "common.cancel") \
    X(Common, confirm, "common.confirm") \
    X(Common, continue_, "common.continue") \
    X(Common, delete_, "common.delete") \
    X(Common::DeleteConfirm, defaultMessage, "common.deleteConfirm.defaultMessage") \
    X(Common, done, "common.done") \
    X(Common::Redirect, appendQuery, "common.redirect.appendQuery") \
    X(Common::Redirect, header, "common.redirect.header") \
    X(Common, save, "common.save") \
    X(Common::Section, detail, "common.section.detail") \
    X(Display, addTrigger, "display.addTrigger") \
    X(Display, deleteConfirmTitle, "display.deleteConfirmTitle") \
    X(Display, editTrigger, "display.editTrigger") \
    X(Display, emptyDescription, "display.emptyDescription") \
    X(Display, emptyTitle, "display.emptyTitle") \
    X(Display::Field, appliesOnWake, "display.field.appliesOnWake") \
    X(Display::Field, name, "display.field.name") \
    X(Display::Field, time, "display.field.time") \
    X(Display::Footer, appliesOnWake, "display.footer.appliesOnWake") \
    X(Display::Footer, brightnessAuto, "display.footer.brightnessAuto") \
    X(Display::Footer, kit, "display.footer.kit") \
    X(Display::Help, appliesOnWake, "display.help.appliesOnWake") \
    X(Display::Help, applyNow, "display.help.applyNow") \
    X(Display::Section, basic, "display.section.basic") \
    X(Display, untitled, "display.untitled") \
    X(Domain::DayFull, friday, "domain.dayFull.friday") \
    X(Domain::DayFull, monday, "domain.dayFull.monday") \
    X(Domain::DayFull, saturday, "domain.dayFull.saturday") \
    X(Domain::DayFull, sunday, "domain.dayFull.sunday") \
    X(Domain::DayFull, thursday, "domain.dayFull.thursday") \
    X(Domain::DayFull, tuesday, "domain.dayFull.tuesday") \
    X(Domain::DayFull, wednesday, "domain.dayFull.wednesday") \
    X(Domain::DayShort, friday, "domain.dayShort.friday") \
    X(Domain::DayShort, monday, "domain.dayShort.monday") \
    X(Domain::DayShort, saturday, "domain.dayShort.saturday") \
    X(Domain::DayShort, sunday, "domain.dayShort.sunday") \
    X(Domain::DayShort, thursday, "domain.dayShort.thursday") \
    X(Domain::DayShort, tuesday, "domain.dayShort.tuesday") \
    X(Domain::DayShort, wednesday, "domain.dayShort.wednesday") \
    X(Domain::SeedName, blocklist, "domain.seedName.blocklist") \
    X(Domain::SeedName, sunrise, "domain.seedName.sunrise") \
    X(Domain::SeedName, sunset, "domain.seedName.sunset") \
    X(Erase, confirm, "erase.confirm") \
    X(Erase, warningMessage, "erase.warningMessage") \
    X(Erase, warningTitle, "erase.warningTitle") \
    X(GroupReorder, title, "groupReorder.title") \
    X(GroupRule, addTitle, "groupRule.addTitle") \
    X(GroupRule, deleteConfirmMessage, "groupRule.deleteConfirmMessage") \
    X(GroupRule, deleteConfirmTitle, "groupRule.deleteConfirmTitle") \
    X(GroupRule, editTitle, "groupRule.editTitle") \
    X(GroupRule::Field, namePlaceholder, "groupRule.field.namePlaceholder") \
    X(GroupRule::Redirect, useCustom, "groupRule.redirect.useCustom") \
    X(GroupRule::Section, name, "groupRule.section.name") \
    X(Menubar, openKivo, "menubar.openKivo") \
    X(Menubar, quitKivo, "menubar.quitKivo") \
    X(More, checkForUpdates, "more.checkForUpdates") \
    X(More, eraseAllData, "more.eraseAllData") \
    X(More, feedback, "more.feedback") \
    X(More, feedbackAlertMessage, "more.feedbackAlertMessage") \
    X(More, feedbackAlertTitle, "more.feedbackAlertTitle") \
    X(More, feedbackOpen, "more.feedbackOpen") \
    X(More, languagePicker, "more.languagePicker") \
    X(More, loginItemToggle, "more.loginItemToggle") \
    X(More, privacyPolicy, "more.privacyPolicy") \
    X(More, privacyPolicyAlertMessage, "more.privacyPolicyAlertMessage") \
    X(More, privacyPolicyAlertTitle, "more.privacyPolicyAlertTitle") \
    X(More, privacyPolicyOpen, "more.privacyPolicyOpen") \
    X(More, stopApp, "more.stopApp") \
    X(More, title, "more.title") \
    X(More, uninstall, "more.uninstall") \
    X(More, updatesFromPackageManager, "more.updatesFromPackageManager") \
    X(Nav, kivo, "nav.kivo") \
    X(Onboarding::Language, pickerLabel, "onboarding.language.pickerLabel") \
    X(Onboarding::Language, subtitle, "onboarding.language.subtitle") \
    X(Onboarding::Language, title, "onboarding.language.title") \
    X(Pattern::DeleteConfirm, allow, "pattern.deleteConfirm.allow") \
    X(Pattern::DeleteConfirm, block, "pattern.deleteConfirm.block") \
    X(Pattern::Redirect, override, "pattern.redirect.override") \
    X(Pattern::Redirect, useGroup, "pattern.redirect.useGroup") \
    X(Pattern::Section, pattern, "pattern.section.pattern") \
    X(Pattern::Title, addAllow, "pattern.title.addAllow") \
    X(Pattern::Title, addBlock, "pattern.title.addBlock") \
    X(Pattern::Title, editAllow, "pattern.title.editAllow") \
    X(Pattern::Title, editBlock, "pattern.title.editBlock") \
    X(Permissions::Accessibility, grant, "permissions.accessibility.grant") \
    X(Permissions::Accessibility, later, "permissions.accessibility.later") \
    X(Permissions::Accessibility, step1, "permissions.accessibility.step1") \
    X(Permissions::Accessibility, step2, "permissions.accessibility.step2") \
    X(Permissions::Accessibility, suppress, "permissions.accessibility.suppress") \
    X(Permissions::Automation, openSettings, "permissions.automation.openSettings") \
    X(Permissions::Automation, title, "permissions.automation.title") \
    X(Permissions::Wayland, title, "permissions.wayland.title") \
    X(Quit, confirm, "quit.confirm") \
    X(RuleDetail, addPattern, "ruleDetail.addPattern") \
    X(RuleDetail::Empty, allowDescription, "ruleDetail.empty.allowDescription") \
    X(RuleDetail::Empty, allowTitle, "ruleDetail.empty.allowTitle") \
    X(RuleDetail::Empty, blockDescription, "ruleDetail.empty.blockDescription") \
    X(RuleDetail::Empty, blockTitle, "ruleDetail.empty.blockTitle") \
    X(RuleDetail, notFound, "ruleDetail.notFound") \
    X(RuleDetail::Summary, redirect, "ruleDetail.summary.redirect") \
    X(RuleDetail::Summary, timeWindowMore, "ruleDetail.summary.timeWindowMore") \
    X(RuleDetail::Tab, allow, "ruleDetail.tab.allow") \
    X(RuleDetail::Tab, block, "ruleDetail.tab.block") \
    X(Rules, add, "rules.add") \
    X(Rules, emptyDescription, "rules.emptyDescription") \
    X(Rules, emptyTitle, "rules.emptyTitle") \
    X(Rules, reorder, "rules.reorder") \
    X(Schedule, addTimeWindow, "schedule.addTimeWindow") \
    X(Schedule, always, "schedule.always") \
    X(Schedule, byDay, "schedule.byDay") \
    X(Schedule, daily, "schedule.daily") \
    X(Schedule, mode, "schedule.mode") \
    X(Schedule, recurring, "schedule.recurring") \
    X(Schedule, section, "schedule.section") \
    X(Schedule::Summary, always, "schedule.summary.always") \
    X(Schedule::Summary, daily, "schedule.summary.daily") \
    X(Schedule::Summary, none, "schedule.summary.none") \
    X(Schedule::Summary, weekdays, "schedule.summary.weekdays") \
    X(Schedule::Summary, weekends, "schedule.summary.weekends") \
    X(Schedule, timeRangeSeparator, "schedule.timeRangeSeparator") \
    X(Shield::A11y, countdown, "shield.a11y.countdown") \
    X(Shield, cancel, "shield.cancel") \
    X(Sidebar, display, "sidebar.display") \
    X(Sidebar, more, "sidebar.more") \
    X(Sidebar, rules, "sidebar.rules") \
    X(Uninstall, confirm, "uninstall.confirm") \
    X(Uninstall, packageRemains, "uninstall.packageRemains") \
    X(Uninstall, packageWarningMessage, "uninstall.packageWarningMessage") \
    X(Uninstall, warningMessage, "uninstall.warningMessage") \
    X(Uninstall, warningTitle, "uninstall.warningTitle") \
    X(Unlock, backoffDescription, "unlock.backoffDescription") \
    X(Unlock, method, "unlock.method") \
    X(Unlock::Method, backoff, "unlock.method.backoff") \
    X(Unlock::Method, instant, "unlock.method.instant") \
    X(Unlock::Method, wait, "unlock.method.wait") \
    X(Unlock, resetInterval, "unlock.resetInterval") \
    X(Unlock::ResetInterval, day1, "unlock.resetInterval.day1") \
    X(Unlock::ResetInterval, days3, "unlock.resetInterval.days3") \
    X(Unlock::ResetInterval, hours12, "unlock.resetInterval.hours12") \
    X(Unlock::ResetInterval, hours6, "unlock.resetInterval.hours6") \
    X(Unlock::ResetInterval, never, "unlock.resetInterval.never") \
    X(Unlock::ResetInterval, week1, "unlock.resetInterval.week1") \
    X(Unlock, section, "unlock.section") \
    X(Unlock::Summary, instant, "unlock.summary.instant") \
    X(Unlock, waitSeconds, "unlock.waitSeconds")
// clang-format on

namespace kivo::Strings {

#define KIVO_DECLARE_STATIC_KEY(space, name, key)                                                            \
    namespace space {                                                                                        \
    const LocalizedString& name();                                                                           \
    }
KIVO_STATIC_STRING_KEYS(KIVO_DECLARE_STATIC_KEY)
#undef KIVO_DECLARE_STATIC_KEY

namespace Display::A11y {
LocalizedString brightnessSlider(const QString& displayName); // "%@ brightness"
LocalizedString brightnessPercent(qint64 percent);            // "%lld percent"
LocalizedString applyTriggerNow(const QString& triggerName);  // "Apply %@ now"
} // namespace Display::A11y

namespace RuleDetail::A11y {
LocalizedString editGroup(const QString& groupName); // "Edit %@"
} // namespace RuleDetail::A11y

// A group's time ranges, counted from 1.
namespace Schedule::A11y {
LocalizedString rangeStart(qint64 position);  // "Start of time range %lld"
LocalizedString rangeEnd(qint64 position);    // "End of time range %lld"
LocalizedString deleteRange(qint64 position); // "Delete time range %lld"
} // namespace Schedule::A11y

namespace GroupReorder::A11y {
LocalizedString dragHandle(const QString& groupName); // "Drag to reorder %@"
} // namespace GroupReorder::A11y

namespace Pattern {
LocalizedString normalizationPreview(const QString& normalizedPattern); // "On save: %@"
} // namespace Pattern

namespace Unlock {
LocalizedString seconds(qint64 seconds); // "%lld sec"
} // namespace Unlock

namespace Unlock::Summary {
LocalizedString wait(qint64 seconds);        // "Wait %lld sec"
LocalizedString backoff(qint64 baseSeconds); // "Backoff (%lld sec+)"
} // namespace Unlock::Summary

namespace Shield::A11y {
LocalizedString remainingSeconds(qint64 seconds); // "%lld seconds remaining"
} // namespace Shield::A11y

namespace Permissions::Accessibility {
LocalizedString title(const QString& browserName);       // "Permission required to block %@"
LocalizedString description(const QString& browserName); // "%@ does not support AppleScript, ..."
LocalizedString step3(const QString& browserName);       // "Kivo only reads the address bar of %@"
// The second step for a browser that follows the desktop's switch at once, named in it.
LocalizedString step2FollowsAtOnce(const QString& browserName); // "Turn on ... %@ follows it at once."
// For a Chromium-family browser, which shows its pages only when accessibility was on at its start.
LocalizedString restart(const QString& browserName); // "Quit %@ and start it again, ..."
} // namespace Permissions::Accessibility

namespace Permissions::Automation {
LocalizedString message(const QString& browserNames); // "Kivo can't block %@.\n..."
} // namespace Permissions::Automation

namespace Permissions::Wayland {
LocalizedString message(const QString& browserNames); // "Kivo can't see %@ running natively on Wayland..."
} // namespace Permissions::Wayland

// One row per key of the table, for checks over the whole catalog.
struct KeyInfo {
    const char* key;
    LocalizedString::ArgumentKind argument;
    const char* defaultFormat; // the key itself for a static key
};

const std::vector<KeyInfo>& allKeys();

} // namespace kivo::Strings
