#include "app/language/LocalizedStrings.h"

namespace kivo::Strings {

namespace {

using Kind = LocalizedString::ArgumentKind;

} // namespace

#define KIVO_DEFINE_STATIC_KEY(space, name, key)                                                             \
    const LocalizedString& space::name() {                                                                   \
        static const LocalizedString value(key);                                                             \
        return value;                                                                                        \
    }
KIVO_STATIC_STRING_KEYS(KIVO_DEFINE_STATIC_KEY)
#undef KIVO_DEFINE_STATIC_KEY

LocalizedString Display::A11y::brightnessSlider(const QString& displayName) {
    return {"display.a11y.brightnessSlider", "%@ brightness", displayName};
}

LocalizedString Display::A11y::brightnessPercent(qint64 percent) {
    return {"display.a11y.brightnessPercent", "%lld percent", percent};
}

LocalizedString Display::A11y::applyTriggerNow(const QString& triggerName) {
    return {"display.a11y.applyTriggerNow", "Apply %@ now", triggerName};
}

LocalizedString RuleDetail::A11y::editGroup(const QString& groupName) {
    return {"ruleDetail.a11y.editGroup", "Edit %@", groupName};
}

LocalizedString Schedule::A11y::rangeStart(qint64 position) {
    return {"schedule.a11y.rangeStart", "Start of time range %lld", position};
}

LocalizedString Schedule::A11y::rangeEnd(qint64 position) {
    return {"schedule.a11y.rangeEnd", "End of time range %lld", position};
}

LocalizedString Schedule::A11y::deleteRange(qint64 position) {
    return {"schedule.a11y.deleteRange", "Delete time range %lld", position};
}

LocalizedString GroupReorder::A11y::dragHandle(const QString& groupName) {
    return {"groupReorder.a11y.dragHandle", "Drag to reorder %@", groupName};
}

LocalizedString Pattern::normalizationPreview(const QString& normalizedPattern) {
    return {"pattern.normalizationPreview", "On save: %@", normalizedPattern};
}

LocalizedString Unlock::seconds(qint64 seconds) {
    return {"unlock.seconds", "%lld sec", seconds};
}

LocalizedString Unlock::Summary::wait(qint64 seconds) {
    return {"unlock.summary.wait", "Wait %lld sec", seconds};
}

LocalizedString Unlock::Summary::backoff(qint64 baseSeconds) {
    return {"unlock.summary.backoff", "Backoff (%lld sec+)", baseSeconds};
}

LocalizedString Shield::A11y::remainingSeconds(qint64 seconds) {
    return {"shield.a11y.remainingSeconds", "%lld seconds remaining", seconds};
}

LocalizedString Permissions::Accessibility::title(const QString& browserName) {
    return {"permissions.accessibility.title", "Permission required to block %@", browserName};
}

LocalizedString Permissions::Accessibility::description(const QString& browserName) {
    return {"permissions.accessibility.description",
            "%@ does not support AppleScript, so Kivo reads the address bar via the **Accessibility** "
            "permission.",
            browserName};
}

LocalizedString Permissions::Accessibility::step3(const QString& browserName) {
    return {"permissions.accessibility.step3", "Kivo only reads the address bar of %@", browserName};
}

LocalizedString Permissions::Accessibility::step2FollowsAtOnce(const QString& browserName) {
    return {"permissions.accessibility.step2FollowsAtOnce",
            "Turn on accessibility support for applications. %@ follows it at once.", browserName};
}

LocalizedString Permissions::Accessibility::restart(const QString& browserName) {
    return {"permissions.accessibility.restart",
            "Quit %@ completely and start it again: it shows its pages only when accessibility support was "
            "on when it started. If it still cannot be read, start it with --force-renderer-accessibility.",
            browserName};
}

LocalizedString Permissions::Automation::message(const QString& browserNames) {
    return {"permissions.automation.message",
            "Kivo can't block %@.\nEnable Kivo under System Settings > Privacy & Security > Automation.",
            browserNames};
}

LocalizedString Permissions::Wayland::message(const QString& browserNames) {
    return {"permissions.wayland.message",
            "Kivo can't see %@ running natively on Wayland.\nQuit these browsers and start them under "
            "XWayland.",
            browserNames};
}

const std::vector<KeyInfo>& allKeys() {
    static const std::vector<KeyInfo> keys = [] {
        std::vector<KeyInfo> list{
#define KIVO_LIST_STATIC_KEY(space, name, key) KeyInfo{key, Kind::none, key},
            KIVO_STATIC_STRING_KEYS(KIVO_LIST_STATIC_KEY)
#undef KIVO_LIST_STATIC_KEY
        };
        // The formatted keys as their functions make them, so key, argument and default are written once.
        const LocalizedString formatted[] = {
            Display::A11y::brightnessSlider({}),
            Display::A11y::brightnessPercent(0),
            Display::A11y::applyTriggerNow({}),
            RuleDetail::A11y::editGroup({}),
            Schedule::A11y::rangeStart(0),
            Schedule::A11y::rangeEnd(0),
            Schedule::A11y::deleteRange(0),
            GroupReorder::A11y::dragHandle({}),
            Pattern::normalizationPreview({}),
            Unlock::Summary::wait(0),
            Unlock::Summary::backoff(0),
            Unlock::seconds(0),
            Shield::A11y::remainingSeconds(0),
            Permissions::Accessibility::title({}),
            Permissions::Accessibility::description({}),
            Permissions::Accessibility::step3({}),
            Permissions::Accessibility::step2FollowsAtOnce({}),
            Permissions::Accessibility::restart({}),
            Permissions::Automation::message({}),
            Permissions::Wayland::message({}),
        };
        for (const LocalizedString& text : formatted) {
            list.push_back(KeyInfo{text.key(), text.argumentKind(), text.defaultFormat()});
        }
        return list;
    }();
    return keys;
}

} // namespace kivo::Strings
