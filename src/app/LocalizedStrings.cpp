#include "app/LocalizedStrings.h"

namespace kivo::Strings {

namespace {

// English defaults of the formatted keys; the catalogs hold their own formats with "%1".
constexpr const char* kBrightnessSliderDefault = "%@ brightness";
constexpr const char* kBrightnessPercentDefault = "%lld percent";
constexpr const char* kDragHandleDefault = "Drag to reorder %@";
constexpr const char* kNormalizationPreviewDefault = "On save: %@";
constexpr const char* kWaitSummaryDefault = "Wait %lld sec";
constexpr const char* kBackoffSummaryDefault = "Backoff (%lld sec+)";
constexpr const char* kSecondsDefault = "%lld sec";
constexpr const char* kRemainingSecondsDefault = "%lld seconds remaining";
constexpr const char* kAccessibilityTitleDefault = "Permission required to block %@";
constexpr const char* kAccessibilityDescriptionDefault =
    "%@ does not support AppleScript, so Kivo reads the address bar via the **Accessibility** permission.";
constexpr const char* kAccessibilityStep3Default = "Kivo only reads the address bar of %@";
constexpr const char* kAutomationMessageDefault =
    "Kivo can't block %@.\nEnable Kivo under System Settings > Privacy & Security > Automation.";

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
    return {"display.a11y.brightnessSlider", kBrightnessSliderDefault, displayName};
}

LocalizedString Display::A11y::brightnessPercent(qint64 percent) {
    return {"display.a11y.brightnessPercent", kBrightnessPercentDefault, percent};
}

LocalizedString GroupReorder::A11y::dragHandle(const QString& groupName) {
    return {"groupReorder.a11y.dragHandle", kDragHandleDefault, groupName};
}

LocalizedString Pattern::normalizationPreview(const QString& normalizedPattern) {
    return {"pattern.normalizationPreview", kNormalizationPreviewDefault, normalizedPattern};
}

LocalizedString Unlock::seconds(qint64 seconds) {
    return {"unlock.seconds", kSecondsDefault, seconds};
}

LocalizedString Unlock::Summary::wait(qint64 seconds) {
    return {"unlock.summary.wait", kWaitSummaryDefault, seconds};
}

LocalizedString Unlock::Summary::backoff(qint64 baseSeconds) {
    return {"unlock.summary.backoff", kBackoffSummaryDefault, baseSeconds};
}

LocalizedString Shield::A11y::remainingSeconds(qint64 seconds) {
    return {"shield.a11y.remainingSeconds", kRemainingSecondsDefault, seconds};
}

LocalizedString Permissions::Accessibility::title(const QString& browserName) {
    return {"permissions.accessibility.title", kAccessibilityTitleDefault, browserName};
}

LocalizedString Permissions::Accessibility::description(const QString& browserName) {
    return {"permissions.accessibility.description", kAccessibilityDescriptionDefault, browserName};
}

LocalizedString Permissions::Accessibility::step3(const QString& browserName) {
    return {"permissions.accessibility.step3", kAccessibilityStep3Default, browserName};
}

LocalizedString Permissions::Automation::message(const QString& browserNames) {
    return {"permissions.automation.message", kAutomationMessageDefault, browserNames};
}

const std::vector<KeyInfo>& allKeys() {
    static const std::vector<KeyInfo> keys = [] {
        std::vector<KeyInfo> list{
#define KIVO_LIST_STATIC_KEY(space, name, key) KeyInfo{key, Kind::none, key},
            KIVO_STATIC_STRING_KEYS(KIVO_LIST_STATIC_KEY)
#undef KIVO_LIST_STATIC_KEY
        };
        const KeyInfo formatted[] = {
            {"display.a11y.brightnessSlider", Kind::text, kBrightnessSliderDefault},
            {"display.a11y.brightnessPercent", Kind::integer, kBrightnessPercentDefault},
            {"groupReorder.a11y.dragHandle", Kind::text, kDragHandleDefault},
            {"pattern.normalizationPreview", Kind::text, kNormalizationPreviewDefault},
            {"unlock.summary.wait", Kind::integer, kWaitSummaryDefault},
            {"unlock.summary.backoff", Kind::integer, kBackoffSummaryDefault},
            {"unlock.seconds", Kind::integer, kSecondsDefault},
            {"shield.a11y.remainingSeconds", Kind::integer, kRemainingSecondsDefault},
            {"permissions.accessibility.title", Kind::text, kAccessibilityTitleDefault},
            {"permissions.accessibility.description", Kind::text, kAccessibilityDescriptionDefault},
            {"permissions.accessibility.step3", Kind::text, kAccessibilityStep3Default},
            {"permissions.automation.message", Kind::text, kAutomationMessageDefault},
        };
        list.insert(list.end(), std::begin(formatted), std::end(formatted));
        return list;
    }();
    return keys;
}

} // namespace kivo::Strings
