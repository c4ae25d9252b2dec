<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="common.add">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="common.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="common.confirm">
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message id="common.continue">
        <source>Continue</source>
        <translation>Continue</translation>
    </message>
    <message id="common.delete">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="common.deleteConfirm.defaultMessage">
        <source>This can't be undone.</source>
        <translation>This can't be undone.</translation>
    </message>
    <message id="common.done">
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message id="common.redirect.appendQuery">
        <source>Include the blocked URL</source>
        <translation>Include the blocked URL</translation>
    </message>
    <message id="common.redirect.header">
        <source>Redirect</source>
        <translation>Redirect</translation>
    </message>
    <message id="common.save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="common.section.detail">
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message id="display.a11y.brightnessPercent">
        <source>%1 percent</source>
        <translation>%1 percent</translation>
    </message>
    <message id="display.a11y.brightnessSlider">
        <source>%1 brightness</source>
        <translation>%1 brightness</translation>
    </message>
    <message id="display.a11y.applyTriggerNow">
        <source>Apply %1 now</source>
        <translation>Apply %1 now</translation>
    </message>
    <message id="ruleDetail.a11y.editGroup">
        <source>Edit %1</source>
        <translation>Edit %1</translation>
    </message>
    <message id="schedule.a11y.rangeStart">
        <source>Start of time range %1</source>
        <translation>Start of time range %1</translation>
    </message>
    <message id="schedule.a11y.rangeEnd">
        <source>End of time range %1</source>
        <translation>End of time range %1</translation>
    </message>
    <message id="schedule.a11y.deleteRange">
        <source>Delete time range %1</source>
        <translation>Delete time range %1</translation>
    </message>
    <message id="display.addTrigger">
        <source>New Trigger</source>
        <translation>New Trigger</translation>
    </message>
    <message id="display.deleteConfirmTitle">
        <source>Delete this trigger?</source>
        <translation>Delete this trigger?</translation>
    </message>
    <message id="display.editTrigger">
        <source>Edit Trigger</source>
        <translation>Edit Trigger</translation>
    </message>
    <message id="display.emptyDescription">
        <source>Add a trigger to change your displays' brightness at set times.</source>
        <translation>Add a trigger to change your displays' brightness at set times.</translation>
    </message>
    <message id="display.emptyTitle">
        <source>No Triggers</source>
        <translation>No Triggers</translation>
    </message>
    <message id="display.field.appliesOnWake">
        <source>Also apply on wake</source>
        <translation>Also apply on wake</translation>
    </message>
    <message id="display.field.name">
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message id="display.field.time">
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message id="display.footer.appliesOnWake">
        <source>When your computer wakes from sleep, the most recent of today's triggers with this setting on is applied.</source>
        <translation>When your computer wakes from sleep, the most recent of today's triggers with this setting on is applied.</translation>
    </message>
    <message id="display.footer.brightnessAuto">
        <source>Automatic brightness or power-saving dimming on your desktop may change the level afterwards.</source>
        <translation>Automatic brightness or power-saving dimming on your desktop may change the level afterwards.</translation>
    </message>
    <message id="display.footer.kit">
        <source>Brightness control uses this library:</source>
        <translation>Brightness control uses this library:</translation>
    </message>
    <message id="display.help.appliesOnWake">
        <source>Also applied on wake</source>
        <translation>Also applied on wake</translation>
    </message>
    <message id="display.help.applyNow">
        <source>Apply Now</source>
        <translation>Apply Now</translation>
    </message>
    <message id="display.section.basic">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="display.untitled">
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
    <message id="domain.dayFull.friday">
        <source>Friday</source>
        <translation>Friday</translation>
    </message>
    <message id="domain.dayFull.monday">
        <source>Monday</source>
        <translation>Monday</translation>
    </message>
    <message id="domain.dayFull.saturday">
        <source>Saturday</source>
        <translation>Saturday</translation>
    </message>
    <message id="domain.dayFull.sunday">
        <source>Sunday</source>
        <translation>Sunday</translation>
    </message>
    <message id="domain.dayFull.thursday">
        <source>Thursday</source>
        <translation>Thursday</translation>
    </message>
    <message id="domain.dayFull.tuesday">
        <source>Tuesday</source>
        <translation>Tuesday</translation>
    </message>
    <message id="domain.dayFull.wednesday">
        <source>Wednesday</source>
        <translation>Wednesday</translation>
    </message>
    <message id="domain.dayShort.friday">
        <source>Fri</source>
        <translation>Fri</translation>
    </message>
    <message id="domain.dayShort.monday">
        <source>Mon</source>
        <translation>Mon</translation>
    </message>
    <message id="domain.dayShort.saturday">
        <source>Sat</source>
        <translation>Sat</translation>
    </message>
    <message id="domain.dayShort.sunday">
        <source>Sun</source>
        <translation>Sun</translation>
    </message>
    <message id="domain.dayShort.thursday">
        <source>Thu</source>
        <translation>Thu</translation>
    </message>
    <message id="domain.dayShort.tuesday">
        <source>Tue</source>
        <translation>Tue</translation>
    </message>
    <message id="domain.dayShort.wednesday">
        <source>Wed</source>
        <translation>Wed</translation>
    </message>
    <message id="domain.seedName.blocklist">
        <source>Blocklist</source>
        <translation>Blocklist</translation>
    </message>
    <message id="domain.seedName.sunrise">
        <source>Sunrise</source>
        <translation>Sunrise</translation>
    </message>
    <message id="domain.seedName.sunset">
        <source>Sunset</source>
        <translation>Sunset</translation>
    </message>
    <message id="erase.confirm">
        <source>Erase All Data</source>
        <translation>Erase All Data</translation>
    </message>
    <message id="erase.warningMessage">
        <source>Your rules, brightness triggers and unlock history will be deleted, starting at login will be turned off, and Kivo will return to how it was at first launch. This can't be undone.</source>
        <translation>Your rules, brightness triggers and unlock history will be deleted, starting at login will be turned off, and Kivo will return to how it was at first launch. This can't be undone.</translation>
    </message>
    <message id="erase.warningTitle">
        <source>Erase all data?</source>
        <translation>Erase all data?</translation>
    </message>
    <message id="groupReorder.a11y.dragHandle">
        <source>Drag to reorder %1</source>
        <translation>Drag to reorder %1</translation>
    </message>
    <message id="groupReorder.title">
        <source>Reorder Rules</source>
        <translation>Reorder Rules</translation>
    </message>
    <message id="groupRule.addTitle">
        <source>New Rule</source>
        <translation>New Rule</translation>
    </message>
    <message id="groupRule.deleteConfirmMessage">
        <source>The rule and all of its patterns will be deleted. This can't be undone.</source>
        <translation>The rule and all of its patterns will be deleted. This can't be undone.</translation>
    </message>
    <message id="groupRule.deleteConfirmTitle">
        <source>Delete this rule?</source>
        <translation>Delete this rule?</translation>
    </message>
    <message id="groupRule.editTitle">
        <source>Edit Rule</source>
        <translation>Edit Rule</translation>
    </message>
    <message id="groupRule.field.namePlaceholder">
        <source>e.g. Social Media</source>
        <translation>e.g. Social Media</translation>
    </message>
    <message id="groupRule.redirect.useCustom">
        <source>Use a custom redirect URL</source>
        <translation>Use a custom redirect URL</translation>
    </message>
    <message id="groupRule.section.name">
        <source>Rule Name</source>
        <translation>Rule Name</translation>
    </message>
    <message id="menubar.openKivo">
        <source>Open Kivo</source>
        <translation>Open Kivo</translation>
    </message>
    <message id="menubar.quitKivo">
        <source>Quit Kivo</source>
        <translation>Quit Kivo</translation>
    </message>
    <message id="more.checkForUpdates">
        <source>Check for Updates…</source>
        <translation>Check for Updates…</translation>
    </message>
    <message id="more.updatesFromPackageManager">
        <source>Updates come from your package manager.</source>
        <translation>Updates come from your package manager.</translation>
    </message>
    <message id="more.eraseAllData">
        <source>Erase All Data…</source>
        <translation>Erase All Data…</translation>
    </message>
    <message id="more.feedback">
        <source>Send Feedback</source>
        <translation>Send Feedback</translation>
    </message>
    <message id="more.feedbackAlertMessage">
        <source>The feedback form will open in your web browser.</source>
        <translation>The feedback form will open in your web browser.</translation>
    </message>
    <message id="more.feedbackAlertTitle">
        <source>Open the feedback form?</source>
        <translation>Open the feedback form?</translation>
    </message>
    <message id="more.feedbackOpen">
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message id="more.languagePicker">
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message id="more.loginItemToggle">
        <source>Start Kivo at login</source>
        <translation>Start Kivo at login</translation>
    </message>
    <message id="more.privacyPolicy">
        <source>Privacy Policy</source>
        <translation>Privacy Policy</translation>
    </message>
    <message id="more.privacyPolicyAlertMessage">
        <source>The privacy policy will open in your web browser.</source>
        <translation>The privacy policy will open in your web browser.</translation>
    </message>
    <message id="more.privacyPolicyAlertTitle">
        <source>Open the privacy policy?</source>
        <translation>Open the privacy policy?</translation>
    </message>
    <message id="more.privacyPolicyOpen">
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message id="more.stopApp">
        <source>Quit Kivo…</source>
        <translation>Quit Kivo…</translation>
    </message>
    <message id="more.title">
        <source>More</source>
        <translation>More</translation>
    </message>
    <message id="more.uninstall">
        <source>Uninstall Kivo…</source>
        <translation>Uninstall Kivo…</translation>
    </message>
    <message id="nav.kivo">
        <source>Kivo</source>
        <translation>Kivo</translation>
    </message>
    <message id="onboarding.language.pickerLabel">
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message id="onboarding.language.subtitle">
        <source>Choose the language Kivo uses. You can change it later under More.</source>
        <translation>Choose the language Kivo uses. You can change it later under More.</translation>
    </message>
    <message id="onboarding.language.title">
        <source>Choose Your Language</source>
        <translation>Choose Your Language</translation>
    </message>
    <message id="pattern.deleteConfirm.allow">
        <source>Delete this allow pattern?</source>
        <translation>Delete this allow pattern?</translation>
    </message>
    <message id="pattern.deleteConfirm.block">
        <source>Delete this block pattern?</source>
        <translation>Delete this block pattern?</translation>
    </message>
    <message id="pattern.normalizationPreview">
        <source>On save: %1</source>
        <translation>On save: %1</translation>
    </message>
    <message id="pattern.redirect.override">
        <source>Use its own redirect</source>
        <translation>Use its own redirect</translation>
    </message>
    <message id="pattern.redirect.useGroup">
        <source>Uses the rule's redirect setting.</source>
        <translation>Uses the rule's redirect setting.</translation>
    </message>
    <message id="pattern.section.pattern">
        <source>URL Pattern</source>
        <translation>URL Pattern</translation>
    </message>
    <message id="pattern.title.addAllow">
        <source>Add Allow Pattern</source>
        <translation>Add Allow Pattern</translation>
    </message>
    <message id="pattern.title.addBlock">
        <source>Add Block Pattern</source>
        <translation>Add Block Pattern</translation>
    </message>
    <message id="pattern.title.editAllow">
        <source>Edit Allow Pattern</source>
        <translation>Edit Allow Pattern</translation>
    </message>
    <message id="pattern.title.editBlock">
        <source>Edit Block Pattern</source>
        <translation>Edit Block Pattern</translation>
    </message>
    <message id="permissions.accessibility.description">
        <source>Kivo reads the address bar of %1 through your desktop's **accessibility** interface (AT-SPI), so accessibility support must be turned on.</source>
        <translation>Kivo reads the address bar of %1 through your desktop's **accessibility** interface (AT-SPI), so accessibility support must be turned on.</translation>
    </message>
    <message id="permissions.accessibility.grant">
        <source>Open Settings</source>
        <translation>Open Settings</translation>
    </message>
    <message id="permissions.accessibility.later">
        <source>Later</source>
        <translation>Later</translation>
    </message>
    <message id="permissions.accessibility.restart">
        <source>Quit %1 completely and start it again: it shows its pages only when accessibility support was on when it started. If it still cannot be read, start it with --force-renderer-accessibility.</source>
        <translation>Quit %1 completely and start it again: it shows its pages only when accessibility support was on when it started. If it still cannot be read, start it with --force-renderer-accessibility.</translation>
    </message>
    <message id="permissions.accessibility.step1">
        <source>Open your desktop's accessibility settings.</source>
        <translation>Open your desktop's accessibility settings.</translation>
    </message>
    <message id="permissions.accessibility.step2">
        <source>Turn on accessibility support for applications.</source>
        <translation>Turn on accessibility support for applications.</translation>
    </message>
    <message id="permissions.accessibility.step2FollowsAtOnce">
        <source>Turn on accessibility support for applications. %1 follows it at once.</source>
        <translation>Turn on accessibility support for applications. %1 follows it at once.</translation>
    </message>
    <message id="permissions.accessibility.step3">
        <source>Kivo only reads the address bar of %1.</source>
        <translation>Kivo only reads the address bar of %1.</translation>
    </message>
    <message id="permissions.accessibility.suppress">
        <source>Don't Ask Again</source>
        <translation>Don't Ask Again</translation>
    </message>
    <message id="permissions.accessibility.title">
        <source>Kivo needs accessibility support to block %1</source>
        <translation>Kivo needs accessibility support to block %1</translation>
    </message>
    <message id="permissions.automation.message">
        <source>Kivo can't block %1.
Turn on accessibility support in your desktop settings, then restart these browsers.</source>
        <translation>Kivo can't block %1.
Turn on accessibility support in your desktop settings, then restart these browsers.</translation>
    </message>
    <message id="permissions.automation.openSettings">
        <source>Open Settings</source>
        <translation>Open Settings</translation>
    </message>
    <message id="permissions.automation.title">
        <source>Kivo can't read some browsers</source>
        <translation>Kivo can't read some browsers</translation>
    </message>
    <message id="permissions.wayland.message">
        <source>Kivo can't see %1 running natively on Wayland.
Quit these browsers and start them under XWayland.</source>
        <translation>Kivo can't see %1 running natively on Wayland.
Quit these browsers and start them under XWayland.</translation>
    </message>
    <message id="permissions.wayland.title">
        <source>Kivo can't see some browsers</source>
        <translation>Kivo can't see some browsers</translation>
    </message>
    <message id="quit.confirm">
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message id="ruleDetail.addPattern">
        <source>Add Pattern</source>
        <translation>Add Pattern</translation>
    </message>
    <message id="ruleDetail.empty.allowDescription">
        <source>Pages that match an allow pattern are never blocked, even when a block pattern matches them.</source>
        <translation>Pages that match an allow pattern are never blocked, even when a block pattern matches them.</translation>
    </message>
    <message id="ruleDetail.empty.allowTitle">
        <source>No Allow Patterns</source>
        <translation>No Allow Patterns</translation>
    </message>
    <message id="ruleDetail.empty.blockDescription">
        <source>Add a pattern such as example.com/* to block the pages it matches.</source>
        <translation>Add a pattern such as example.com/* to block the pages it matches.</translation>
    </message>
    <message id="ruleDetail.empty.blockTitle">
        <source>No Block Patterns</source>
        <translation>No Block Patterns</translation>
    </message>
    <message id="ruleDetail.notFound">
        <source>Rule not found</source>
        <translation>Rule not found</translation>
    </message>
    <message id="ruleDetail.summary.redirect">
        <source>Redirect</source>
        <translation>Redirect</translation>
    </message>
    <message id="ruleDetail.summary.timeWindowMore">
        <source>and more</source>
        <translation>and more</translation>
    </message>
    <message id="ruleDetail.tab.allow">
        <source>Allow</source>
        <translation>Allow</translation>
    </message>
    <message id="ruleDetail.tab.block">
        <source>Block</source>
        <translation>Block</translation>
    </message>
    <message id="rules.add">
        <source>Add Rule</source>
        <translation>Add Rule</translation>
    </message>
    <message id="rules.emptyDescription">
        <source>Add a rule to start blocking websites.</source>
        <translation>Add a rule to start blocking websites.</translation>
    </message>
    <message id="rules.emptyTitle">
        <source>No Rules</source>
        <translation>No Rules</translation>
    </message>
    <message id="rules.reorder">
        <source>Reorder</source>
        <translation>Reorder</translation>
    </message>
    <message id="schedule.addTimeWindow">
        <source>Add Time Range</source>
        <translation>Add Time Range</translation>
    </message>
    <message id="schedule.always">
        <source>Always</source>
        <translation>Always</translation>
    </message>
    <message id="schedule.byDay">
        <source>By Day</source>
        <translation>By Day</translation>
    </message>
    <message id="schedule.daily">
        <source>Every Day</source>
        <translation>Every Day</translation>
    </message>
    <message id="schedule.mode">
        <source>Schedule Type</source>
        <translation>Schedule Type</translation>
    </message>
    <message id="schedule.recurring">
        <source>Recurring</source>
        <translation>Recurring</translation>
    </message>
    <message id="schedule.section">
        <source>Schedule</source>
        <translation>Schedule</translation>
    </message>
    <message id="schedule.summary.always">
        <source>Always</source>
        <translation>Always</translation>
    </message>
    <message id="schedule.summary.daily">
        <source>Every day</source>
        <translation>Every day</translation>
    </message>
    <message id="schedule.summary.none">
        <source>No days</source>
        <translation>No days</translation>
    </message>
    <message id="schedule.summary.weekdays">
        <source>Weekdays</source>
        <translation>Weekdays</translation>
    </message>
    <message id="schedule.summary.weekends">
        <source>Weekends</source>
        <translation>Weekends</translation>
    </message>
    <message id="schedule.timeRangeSeparator">
        <source>to</source>
        <translation>to</translation>
    </message>
    <message id="shield.a11y.countdown">
        <source>Countdown</source>
        <translation>Countdown</translation>
    </message>
    <message id="shield.a11y.remainingSeconds">
        <source>%1 seconds remaining</source>
        <translation>%1 seconds remaining</translation>
    </message>
    <message id="shield.cancel">
        <source>Keep Blocking</source>
        <translation>Keep Blocking</translation>
    </message>
    <message id="sidebar.display">
        <source>Display</source>
        <translation>Display</translation>
    </message>
    <message id="sidebar.more">
        <source>More</source>
        <translation>More</translation>
    </message>
    <message id="sidebar.rules">
        <source>Rules</source>
        <translation>Rules</translation>
    </message>
    <message id="uninstall.confirm">
        <source>Uninstall</source>
        <translation>Uninstall</translation>
    </message>
    <message id="uninstall.packageRemains">
        <source>Kivo was installed for all users by the system, so the program itself stays in place: after it quits, remove its package with your package manager.</source>
        <translation>Kivo was installed for all users by the system, so the program itself stays in place: after it quits, remove its package with your package manager.</translation>
    </message>
    <message id="uninstall.packageWarningMessage">
        <source>Kivo will erase all of its data and quit. This can't be undone.</source>
        <translation>Kivo will erase all of its data and quit. This can't be undone.</translation>
    </message>
    <message id="uninstall.warningMessage">
        <source>Kivo will erase all of its data, move itself to the Trash and quit. This can't be undone.</source>
        <translation>Kivo will erase all of its data, move itself to the Trash and quit. This can't be undone.</translation>
    </message>
    <message id="uninstall.warningTitle">
        <source>Uninstall Kivo?</source>
        <translation>Uninstall Kivo?</translation>
    </message>
    <message id="unlock.backoffDescription">
        <source>The wait doubles with each unlock, up to 60 seconds, and starts over once the reset time has passed since the last unlock.</source>
        <translation>The wait doubles with each unlock, up to 60 seconds, and starts over once the reset time has passed since the last unlock.</translation>
    </message>
    <message id="unlock.method">
        <source>Unlock Method</source>
        <translation>Unlock Method</translation>
    </message>
    <message id="unlock.method.backoff">
        <source>Backoff</source>
        <translation>Backoff</translation>
    </message>
    <message id="unlock.method.instant">
        <source>Instant</source>
        <translation>Instant</translation>
    </message>
    <message id="unlock.method.wait">
        <source>Wait</source>
        <translation>Wait</translation>
    </message>
    <message id="unlock.resetInterval">
        <source>Reset after</source>
        <translation>Reset after</translation>
    </message>
    <message id="unlock.resetInterval.day1">
        <source>1 day</source>
        <translation>1 day</translation>
    </message>
    <message id="unlock.resetInterval.days3">
        <source>3 days</source>
        <translation>3 days</translation>
    </message>
    <message id="unlock.resetInterval.hours12">
        <source>12 hours</source>
        <translation>12 hours</translation>
    </message>
    <message id="unlock.resetInterval.hours6">
        <source>6 hours</source>
        <translation>6 hours</translation>
    </message>
    <message id="unlock.resetInterval.never">
        <source>Never</source>
        <translation>Never</translation>
    </message>
    <message id="unlock.resetInterval.week1">
        <source>1 week</source>
        <translation>1 week</translation>
    </message>
    <message id="unlock.seconds">
        <source>%1 sec</source>
        <translation>%1 sec</translation>
    </message>
    <message id="unlock.section">
        <source>Unlock</source>
        <translation>Unlock</translation>
    </message>
    <message id="unlock.summary.backoff">
        <source>Backoff (%1 sec+)</source>
        <translation>Backoff (%1 sec+)</translation>
    </message>
    <message id="unlock.summary.instant">
        <source>Instant unlock</source>
        <translation>Instant unlock</translation>
    </message>
    <message id="unlock.summary.wait">
        <source>Wait %1 sec</source>
        <translation>Wait %1 sec</translation>
    </message>
    <message id="unlock.waitSeconds">
        <source>Wait time</source>
        <translation>Wait time</translation>
    </message>
</context>
</TS>
